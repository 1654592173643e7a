#include "common/ui/widgets/SkinBitmap.h"

#include <QPainter>

int CSkinBitmap::SetFileName(const std::string& path) {
    path_ = path;
    return 0;
}

int CSkinBitmap::LoadFromFile(int token) {
    bitmap_ = QImage();
    if (token == 0) return 1;
    QImage loaded(QString::fromStdString(path_), "BMP");
    if (loaded.isNull()) return 0;
    bitmap_ = std::move(loaded);
    width_ = bitmap_.width();
    height_ = bitmap_.height();
    return 1;
}

int CSkinBitmap::Tile(QPainter& painter, const QRect& rect) const {
    if (bitmap_.isNull()) return 0;
    for (int y = 0; y < rect.height(); y += height_) {
        for (int x = 0; x < rect.width(); x += width_)
            painter.drawImage(x, y, bitmap_);
    }
    return 1;
}
