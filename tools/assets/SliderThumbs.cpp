#include "tools/assets/SliderThumbs.h"

#include <QLinearGradient>
#include <QPainter>

#include "tools/assets/Palette.h"

namespace skinart {
namespace {

constexpr int kWidth_px = 25;
constexpr int kHeight_px = 11;

// Edges are drawn smooth and then settled against the dark ground the slider runs over, so the
// key colour never bleeds into the rim.
QImage Thumb(const QColor& top, const QColor& bottom, const QColor& rim, const QColor& grip) {
    QImage shape(kWidth_px, kHeight_px, QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter painter(&shape);
        painter.setRenderHint(QPainter::Antialiasing);
        QLinearGradient fill(0, 0, 0, kHeight_px);
        fill.setColorAt(0, top);
        fill.setColorAt(1, bottom);
        painter.setPen(QPen(rim, 1));
        painter.setBrush(fill);
        painter.drawRoundedRect(QRectF(0.5, 0.5, kWidth_px - 1, kHeight_px - 1), 5, 5);
        painter.setPen(QPen(grip, 1));
        for (const qreal x : {9.5, 12.5, 15.5}) {
            painter.drawLine(QPointF(x, 3), QPointF(x, kHeight_px - 3));
        }
    }
    QImage thumb(kWidth_px, kHeight_px, QImage::Format_RGB32);
    thumb.fill(kGroundBottom);
    {
        QPainter painter(&thumb);
        painter.drawImage(0, 0, shape);
    }
    for (int y = 0; y < kHeight_px; ++y) {
        for (int x = 0; x < kWidth_px; ++x) {
            if (qAlpha(shape.pixel(x, y)) < 110) {
                thumb.setPixel(x, y, kThumbKey);
            }
        }
    }
    return thumb;
}

}  // namespace

SliderThumbArt PaintSliderThumbs() {
    return {Thumb(kInkBright, QColor(176, 186, 198), QColor(90, 100, 112), kAccentDeep),
            Thumb(kAccent.lighter(115), kAccent, kAccentDark, kInkBright)};
}

}  // namespace skinart
