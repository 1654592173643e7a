#include "tools/assets/TreeIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "tools/assets/Palette.h"

namespace skinart {
namespace {

constexpr int kIcon_px = 16;

QImage BlankIcon() {
    QImage image(kIcon_px, kIcon_px, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage Star() {
    QImage image = BlankIcon();
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF points;
    const QPointF centre(8, 8.6);
    for (int i = 0; i < 10; ++i) {
        const qreal angle = qDegreesToRadians(-90.0 + 36.0 * i);
        const qreal radius = i % 2 == 0 ? 7.6 : 3.3;
        points << centre + QPointF(qCos(angle), qSin(angle)) * radius;
    }
    painter.setPen(QPen(kStar.darker(170), 1.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(kStar);
    painter.drawPolygon(points);
    return image;
}

// A display with a dark screen; the marks go onto the screen (x 3..12, y 3..9).
QImage Monitor(const QColor& frame) {
    QImage image = BlankIcon();
    QPainter painter(&image);
    painter.setPen(frame.darker(190));
    painter.setBrush(frame);
    painter.drawRect(QRect(1, 1, 13, 10));
    painter.fillRect(QRect(3, 3, 10, 7), kWell);
    painter.fillRect(QRect(6, 12, 4, 2), frame.darker(130));
    painter.fillRect(QRect(4, 14, 8, 1), frame.darker(150));
    return image;
}

QImage MonitorWithFlash() {
    QImage image = Monitor(QColor(170, 178, 188));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPolygonF bolt;
    bolt << QPointF(9.6, 1.6) << QPointF(5.2, 7.4) << QPointF(8.0, 7.4) << QPointF(6.2, 12.8)
         << QPointF(11.2, 6.0) << QPointF(8.4, 6.0) << QPointF(10.4, 1.6);
    painter.setPen(QPen(kRecord.darker(160), 0.8));
    painter.setBrush(kRecord);
    painter.drawPolygon(bolt);
    return image;
}

QImage MonitorIdle() { return Monitor(QColor(118, 124, 132)); }

QImage MonitorWithBar() {
    QImage image = Monitor(QColor(170, 178, 188));
    QPainter painter(&image);
    painter.fillRect(QRect(4, 6, 8, 3), kLive);
    painter.fillRect(QRect(4, 6, 8, 1), kLive.lighter(125));
    return image;
}

}  // namespace

std::vector<TreeIconArt> PaintTreeIcons() {
    return {
        {138, Star()}, {139, MonitorWithFlash()}, {140, MonitorIdle()}, {162, MonitorWithBar()}};
}

}  // namespace skinart
