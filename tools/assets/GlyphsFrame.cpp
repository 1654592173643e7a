#include <QPainter>
#include <QtMath>

#include "GlyphKit.h"
#include "Glyphs.h"

namespace skinart::glyph {

void Power(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.92);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side) * 1.05;
    const QRectF ring = square.adjusted(stroke, stroke * 1.6, -stroke, -stroke * 0.4);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(ring, 125 * 16, 290 * 16);
    painter.drawLine(QPointF(square.center().x(), square.top()),
                     QPointF(square.center().x(), ring.center().y()));
}

void Minimise(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.8);
    painter.setPen(RoundPen(ink.line, StrokeFor(square.width()) * 1.3));
    const qreal y = square.bottom() - square.height() * 0.2;
    painter.drawLine(QPointF(square.left(), y), QPointF(square.right(), y));
}

void FullWindow(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.78);
    const qreal arm = square.width() * 0.36;
    painter.setPen(RoundPen(ink.line, StrokeFor(square.width()) * 1.2));
    for (const QPointF& corner :
         {square.topLeft(), square.topRight(), square.bottomRight(), square.bottomLeft()}) {
        const qreal dx = corner.x() < square.center().x() ? arm : -arm;
        const qreal dy = corner.y() < square.center().y() ? arm : -arm;
        painter.drawLine(corner, corner + QPointF(dx, 0));
        painter.drawLine(corner, corner + QPointF(0, dy));
    }
}

void Close(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.76);
    painter.setPen(RoundPen(ink.line, StrokeFor(square.width()) * 1.3));
    painter.drawLine(square.topLeft(), square.bottomRight());
    painter.drawLine(square.topRight(), square.bottomLeft());
}

void Dot(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.7);
    painter.setBrush(ink.line);
    painter.drawEllipse(square);
}

void FilePlayer(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // A strip of film with a play mark on its frame.
    const QRectF square = SquareIn(box, 0.98);
    const qreal side = square.width();
    const QRectF strip(square.left() + side * 0.1, square.top(), side * 0.8, side);
    QPainterPath film;
    film.addRoundedRect(strip, side * 0.06, side * 0.06);
    const qreal hole = side * 0.08;
    for (int i = 0; i < 5; ++i) {
        const qreal y = strip.top() + side * 0.07 + i * side * 0.19;
        film.addRect(QRectF(strip.left() + side * 0.05, y, hole, hole * 1.2));
        film.addRect(QRectF(strip.right() - side * 0.05 - hole, y, hole, hole * 1.2));
    }
    const QRectF frame(strip.left() + side * 0.2, strip.top() + side * 0.14, side * 0.4,
                       side * 0.72);
    film.addRect(frame);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(film);
    painter.drawPath(Triangle(QPointF(frame.right() - side * 0.08, frame.center().y()),
                              QPointF(frame.left() + side * 0.1, frame.center().y()), side * 0.3));
}

void LiveView(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // A camera on a wall arm, with a lamp that says "live".
    const QRectF square = SquareIn(box, 1.0);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    painter.save();
    painter.translate(square.center() + QPointF(side * 0.04, -side * 0.1));
    painter.rotate(18);
    QPainterPath body;
    body.addRoundedRect(QRectF(-side * 0.42, -side * 0.15, side * 0.7, side * 0.3), side * 0.06,
                        side * 0.06);
    QPolygonF hood;
    hood << QPointF(side * 0.28, -side * 0.15) << QPointF(side * 0.46, -side * 0.21)
         << QPointF(side * 0.46, side * 0.21) << QPointF(side * 0.28, side * 0.15);
    body.addPolygon(hood);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(body.simplified());
    painter.setBrush(ink.signal);
    painter.drawEllipse(QPointF(-side * 0.3, -side * 0.03), side * 0.05, side * 0.05);
    painter.restore();
    painter.setPen(RoundPen(ink.line, stroke));
    const QPointF joint = square.center() + QPointF(-side * 0.12, side * 0.14);
    painter.drawLine(joint, joint + QPointF(-side * 0.2, side * 0.2));
    painter.drawLine(QPointF(square.left() + side * 0.06, square.center().y() + side * 0.14),
                     QPointF(square.left() + side * 0.06, square.bottom() - side * 0.02));
    painter.drawLine(joint + QPointF(-side * 0.2, side * 0.2),
                     QPointF(square.left() + side * 0.06, joint.y() + side * 0.2));
}

void RemotePlayback(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // A turning-back arrow round a play mark: recordings played from the past.
    const QRectF square = SquareIn(box, 1.0);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QRectF arc = square.adjusted(stroke, stroke, -stroke, -stroke);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(arc, 150 * 16, -300 * 16);
    const qreal end = qDegreesToRadians(150.0);
    const QPointF at =
        arc.center() + QPointF(qCos(end) * arc.width() / 2, -qSin(end) * arc.height() / 2);
    const QPointF along(qSin(end), qCos(end));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(Triangle(at + along * stroke * 2.4, at - along * stroke * 0.6, stroke * 3.4));
    const QRectF mark = SquareIn(arc, 0.44).translated(side * 0.04, 0);
    painter.drawPath(Triangle(QPointF(mark.right(), mark.center().y()),
                              QPointF(mark.left(), mark.center().y()), mark.height()));
}

void UpdateTool(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // A chip taking an upward arrow: new software going to the recorder.
    const QRectF square = SquareIn(box, 1.0);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QRectF chip(square.left() + side * 0.2, square.top() + side * 0.48, side * 0.6,
                      side * 0.4);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(chip, side * 0.04, side * 0.04);
    for (int i = 0; i < 4; ++i) {
        const qreal x = chip.left() + chip.width() * (0.2 + 0.2 * i);
        painter.drawLine(QPointF(x, chip.bottom()), QPointF(x, chip.bottom() + side * 0.1));
    }
    const qreal x = square.center().x();
    painter.drawLine(QPointF(x, chip.top() - stroke), QPointF(x, square.top() + side * 0.2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(
        Triangle(QPointF(x, square.top()), QPointF(x, square.top() + side * 0.26), side * 0.4));
}

}  // namespace skinart::glyph
