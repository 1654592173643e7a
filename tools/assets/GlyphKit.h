#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPen>
#include <QRectF>

class QPainter;

// Small drawing helpers the symbols share, so strokes and proportions stay alike everywhere.
namespace skinart {

// The centred square of box, scaled.
QRectF SquareIn(const QRectF& box, qreal scale = 1.0);

// Stroke width for a symbol of this side length.
qreal StrokeFor(qreal side_px);

QPen RoundPen(const QColor& colour, qreal width_px);

// Closed triangle pointing from the base's middle to tip.
QPainterPath Triangle(QPointF tip, QPointF base_middle, qreal base_px);

// Plus (vertical = true) or minus centred at centre.
void DrawSign(QPainter& painter, QPointF centre, qreal half_px, qreal width_px,
              const QColor& colour, bool vertical);

// An outlined circle of ring_scale times the square's half side, in the symbols' own stroke.
void DrawRing(QPainter& painter, const QRectF& square, qreal ring_scale, const QColor& colour);

// The outline of a display: a rounded screen with a small stand.
void DrawMonitor(QPainter& painter, const QRectF& box, const QColor& colour, qreal width_px);

}  // namespace skinart
