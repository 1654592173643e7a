#include <QPainter>

#include "tools/assets/GlyphKit.h"
#include "tools/assets/Glyphs.h"

namespace skinart::glyph {
namespace {

void PlayTriangle(QPainter& painter, const QRectF& square, const QColor& colour) {
    const qreal side = square.width();
    painter.setPen(RoundPen(colour, StrokeFor(side) * 0.6));
    painter.setBrush(colour);
    painter.drawPath(Triangle(QPointF(square.right(), square.center().y()),
                              QPointF(square.left() + side * 0.12, square.center().y()), side));
}

// A door frame open on one side and an arrow through it: in when entering, out when leaving.
void Doorway(QPainter& painter, const QRectF& box, const GlyphInk& ink, bool entering) {
    const QRectF square = SquareIn(box, 0.98);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    const qreal door_left = entering ? square.left() + side * 0.52 : square.left();
    const QRectF door(door_left, square.top(), side * 0.48, side);
    const qreal open_x = entering ? door.left() : door.right();
    const qreal shut_x = entering ? door.right() : door.left();
    QPolygonF frame;
    frame << QPointF(open_x, door.top()) << QPointF(shut_x, door.top())
          << QPointF(shut_x, door.bottom()) << QPointF(open_x, door.bottom());
    painter.drawPolyline(frame);
    const qreal y = square.center().y();
    const qreal from = entering ? square.left() : square.left() + side * 0.3;
    const qreal to = entering ? square.left() + side * 0.7 : square.right();
    painter.drawLine(QPointF(from, y), QPointF(to - stroke, y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(Triangle(QPointF(to, y), QPointF(to - side * 0.26, y), side * 0.38));
}

}  // namespace

void Play(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    PlayTriangle(painter, SquareIn(box, 0.9), ink.line);
}

void Stop(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.78);
    painter.setBrush(ink.line);
    painter.drawRoundedRect(square, square.width() * 0.1, square.width() * 0.1);
}

void Backup(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.05);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    QPolygonF tray;
    tray << square.topLeft() + QPointF(0, side * 0.62) << square.bottomLeft()
         << square.bottomRight() << square.topLeft() + QPointF(side, side * 0.62);
    painter.drawPolyline(tray);
    const qreal x = square.center().x();
    painter.drawLine(QPointF(x, square.top()), QPointF(x, square.top() + side * 0.5));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(Triangle(QPointF(x, square.top() + side * 0.76),
                              QPointF(x, square.top() + side * 0.46), side * 0.46));
}

void FastPlay(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.8);
    const qreal side = square.width();
    painter.setPen(RoundPen(ink.line, StrokeFor(side) * 0.6));
    painter.setBrush(ink.line);
    const qreal y = square.center().y();
    painter.drawPath(Triangle(QPointF(square.center().x() + side * 0.05, y),
                              QPointF(square.left() - side * 0.25, y), side));
    painter.drawPath(
        Triangle(QPointF(square.right() + side * 0.3, y), QPointF(square.center().x(), y), side));
}

void NormalPlay(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.8);
    const qreal side = square.width();
    PlayTriangle(painter, square.translated(-side * 0.12, 0), ink.line);
    // The bar says "back to one speed".
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawRect(QRectF(square.right() + side * 0.02, square.top(), side * 0.16, side));
}

void Clock(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.0);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QPointF centre = square.center();
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(centre, side / 2 - stroke / 2, side / 2 - stroke / 2);
    painter.drawLine(centre, centre + QPointF(0, -side * 0.3));
    painter.drawLine(centre, centre + QPointF(side * 0.22, side * 0.08));
}

void Login(QPainter& p, const QRectF& b, const GlyphInk& i) { Doorway(p, b, i, true); }
void Logout(QPainter& p, const QRectF& b, const GlyphInk& i) { Doorway(p, b, i, false); }

}  // namespace skinart::glyph
