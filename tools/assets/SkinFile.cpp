#include "tools/assets/SkinFile.h"

#include <QDir>
#include <QFileInfo>

namespace skinart {
namespace {

bool MakeFolderFor(const QString& path) { return QDir().mkpath(QFileInfo(path).absolutePath()); }

}  // namespace

bool IsMappedGrey(QRgb pixel) {
    const int r = qRed(pixel);
    return r == qGreen(pixel) && r == qBlue(pixel) && (r == 128 || r == 192 || r == 223);
}

bool SaveSkinBitmap(const QImage& image, const QString& path) {
    QImage opaque = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < opaque.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(opaque.scanLine(y));
        for (int x = 0; x < opaque.width(); ++x) {
            if (IsMappedGrey(row[x])) {
                row[x] = qRgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x]) + 1);
            }
        }
    }
    return MakeFolderFor(path) && opaque.save(path, "BMP");
}

bool SavePng(const QImage& image, const QString& path) {
    return MakeFolderFor(path) && image.save(path, "PNG");
}

}  // namespace skinart
