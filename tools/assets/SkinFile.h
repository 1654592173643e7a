#pragma once

#include <QImage>
#include <QString>

namespace skinart {

// The skin loaders map the greys 128, 192 and 223 to the desktop's 3-D shadow, face and light
// colours; art drawn in those exact greys would change with the desktop theme.
bool IsMappedGrey(QRgb pixel);

// Writes a 24-bit uncompressed BMP with every mapped grey moved one step off, creating the
// folder as needed.
bool SaveSkinBitmap(const QImage& image, const QString& path);

// Writes a PNG (with its alpha), creating the folder as needed.
bool SavePng(const QImage& image, const QString& path);

}  // namespace skinart
