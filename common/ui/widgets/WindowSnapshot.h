#pragma once

#include <QImage>
#include <QString>
#include <string>

class QWidget;

// The window's client area as the screen shows it, pictures of the video surface included;
// the whole screen when no window is given.
QImage CaptureWindow(QWidget* window);

// Writes the captured window as a bitmap file at the display's depth. Replaces an existing
// file only once the new one is complete. false (with the reason) when nothing was written.
bool WriteWindowBitmap(QWidget* window, const QString& path, QString* error = nullptr);

// The snapshot command: captures the window, offers proposed_name in a save dialog (no
// overwrite question, no extension added) and writes the file. A file that cannot be
// written is reported in a message box. Returns 0.
int SaveWindowBitmap(QWidget* window, const std::string& proposed_name);
