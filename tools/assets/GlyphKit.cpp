#include "tools/assets/GlyphKit.h"

#include <QLineF>
#include <QPainter>
#include <algorithm>

namespace skinart {

QRectF SquareIn(const QRectF& box, qreal scale) {
    const qreal side = std::min(box.width(), box.height()) * scale;
    return QRectF(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
}

qreal StrokeFor(qreal side_px) { return std::clamp(side_px * 0.11, 1.4, 4.0); }

QPen RoundPen(const QColor& colour, qreal width_px) {
    return QPen(colour, width_px, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

QPainterPath Triangle(QPointF tip, QPointF base_middle, qreal base_px) {
    const QLineF axis(base_middle, tip);
    const QLineF normal = axis.normalVector().unitVector();
    const QPointF half(normal.dx() * base_px / 2, normal.dy() * base_px / 2);
    QPainterPath path;
    path.moveTo(tip);
    path.lineTo(base_middle + half);
    path.lineTo(base_middle - half);
    path.closeSubpath();
    return path;
}

void DrawSign(QPainter& painter, QPointF centre, qreal half_px, qreal width_px,
              const QColor& colour, bool vertical) {
    painter.save();
    painter.setPen(QPen(colour, width_px, Qt::SolidLine, Qt::FlatCap));
    painter.drawLine(QPointF(centre.x() - half_px, centre.y()),
                     QPointF(centre.x() + half_px, centre.y()));
    if (vertical) {
        painter.drawLine(QPointF(centre.x(), centre.y() - half_px),
                         QPointF(centre.x(), centre.y() + half_px));
    }
    painter.restore();
}

void DrawRing(QPainter& painter, const QRectF& square, qreal ring_scale, const QColor& colour) {
    painter.save();
    painter.setPen(RoundPen(colour, StrokeFor(square.width())));
    painter.setBrush(Qt::NoBrush);
    const qreal radius = square.width() / 2 * ring_scale;
    painter.drawEllipse(square.center(), radius, radius);
    painter.restore();
}

void DrawMonitor(QPainter& painter, const QRectF& box, const QColor& colour, qreal width_px) {
    painter.save();
    painter.setPen(RoundPen(colour, width_px));
    painter.setBrush(Qt::NoBrush);
    const QRectF screen(box.left(), box.top(), box.width(), box.height() * 0.72);
    painter.drawRoundedRect(screen, width_px, width_px);
    const qreal foot_y = box.bottom() - width_px / 2;
    painter.drawLine(QPointF(box.center().x(), screen.bottom()), QPointF(box.center().x(), foot_y));
    painter.drawLine(QPointF(box.center().x() - box.width() * 0.22, foot_y),
                     QPointF(box.center().x() + box.width() * 0.22, foot_y));
    painter.restore();
}

}  // namespace skinart
