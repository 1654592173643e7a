#pragma once

#include "tools/assets/ButtonFace.h"

// The symbols on the button faces. Each paints itself centred in the box it is given.
namespace skinart::glyph {

// Pan/tilt/zoom pad.
void ArrowUp(QPainter&, const QRectF&, const GlyphInk&);
void ArrowDown(QPainter&, const QRectF&, const GlyphInk&);
void ArrowLeft(QPainter&, const QRectF&, const GlyphInk&);
void ArrowRight(QPainter&, const QRectF&, const GlyphInk&);
void Centre(QPainter&, const QRectF&, const GlyphInk&);
void IrisOpen(QPainter&, const QRectF&, const GlyphInk&);
void IrisClose(QPainter&, const QRectF&, const GlyphInk&);
void FocusNear(QPainter&, const QRectF&, const GlyphInk&);
void FocusFar(QPainter&, const QRectF&, const GlyphInk&);
void ZoomIn(QPainter&, const QRectF&, const GlyphInk&);
void ZoomOut(QPainter&, const QRectF&, const GlyphInk&);
void AutoScan(QPainter&, const QRectF&, const GlyphInk&);
void PadLocked(QPainter&, const QRectF&, const GlyphInk&);

// Devices and tools.
void AddDevice(QPainter&, const QRectF&, const GlyphInk&);
void DeleteDevice(QPainter&, const QRectF&, const GlyphInk&);
void Connect(QPainter&, const QRectF&, const GlyphInk&);
void Disconnect(QPainter&, const QRectF&, const GlyphInk&);
void Settings(QPainter&, const QRectF&, const GlyphInk&);
void Record(QPainter&, const QRectF&, const GlyphInk&);
void RecordStop(QPainter&, const QRectF&, const GlyphInk&);
void Capture(QPainter&, const QRectF&, const GlyphInk&);
void Disk(QPainter&, const QRectF&, const GlyphInk&);
void AudioOff(QPainter&, const QRectF&, const GlyphInk&);
void AudioOn(QPainter&, const QRectF&, const GlyphInk&);
void Admin(QPainter&, const QRectF&, const GlyphInk&);
void MapPin(QPainter&, const QRectF&, const GlyphInk&);

// A grid of CellsPerSide squared cells over its count.
template <int CellsPerSide>
void Layout(QPainter&, const QRectF&, const GlyphInk&);

// Playback.
void Play(QPainter&, const QRectF&, const GlyphInk&);
void Stop(QPainter&, const QRectF&, const GlyphInk&);
void Backup(QPainter&, const QRectF&, const GlyphInk&);
void FastPlay(QPainter&, const QRectF&, const GlyphInk&);
void NormalPlay(QPainter&, const QRectF&, const GlyphInk&);
void Clock(QPainter&, const QRectF&, const GlyphInk&);
void Login(QPainter&, const QRectF&, const GlyphInk&);
void Logout(QPainter&, const QRectF&, const GlyphInk&);

// Window frame.
void Power(QPainter&, const QRectF&, const GlyphInk&);
void Minimise(QPainter&, const QRectF&, const GlyphInk&);
void FullWindow(QPainter&, const QRectF&, const GlyphInk&);
void Close(QPainter&, const QRectF&, const GlyphInk&);
void Dot(QPainter&, const QRectF&, const GlyphInk&);

// Launcher.
void FilePlayer(QPainter&, const QRectF&, const GlyphInk&);
void LiveView(QPainter&, const QRectF&, const GlyphInk&);
void RemotePlayback(QPainter&, const QRectF&, const GlyphInk&);
void UpdateTool(QPainter&, const QRectF&, const GlyphInk&);

}  // namespace skinart::glyph
