#include <QPainter>
#include <QtMath>

#include "tools/assets/GlyphKit.h"
#include "tools/assets/Glyphs.h"

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
    // The wall plate and the arm up to the camera's underside.
    painter.setBrush(ink.line);
    const QRectF plate(square.left(), square.center().y() + side * 0.04, side * 0.09, side * 0.34);
    painter.drawRoundedRect(plate, side * 0.03, side * 0.03);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.drawLine(QPointF(plate.right(), plate.center().y()),
                     square.center() + QPointF(-side * 0.06, side * 0.06));
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
    // A chip with an upward arrow cut into it: new software going to the recorder.
    const QRectF square = SquareIn(box, 0.96);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QRectF chip = square.adjusted(side * 0.18, side * 0.12, -side * 0.18, -side * 0.12);
    painter.setPen(RoundPen(ink.line, stroke));
    for (int i = 0; i < 3; ++i) {
        const qreal y = chip.top() + chip.height() * (0.22 + 0.28 * i);
        painter.drawLine(QPointF(square.left() + side * 0.04, y), QPointF(chip.left(), y));
        painter.drawLine(QPointF(chip.right(), y), QPointF(square.right() - side * 0.04, y));
    }
    QPainterPath body;
    body.addRoundedRect(chip, side * 0.06, side * 0.06);
    const qreal x = chip.center().x();
    QPainterPath arrow =
        Triangle(QPointF(x, chip.top() + chip.height() * 0.14),
                 QPointF(x, chip.top() + chip.height() * 0.5), chip.width() * 0.56);
    arrow.addRect(QRectF(x - chip.width() * 0.1, chip.top() + chip.height() * 0.48,
                         chip.width() * 0.2, chip.height() * 0.36));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(body.subtracted(arrow.simplified()));
}

}  // namespace skinart::glyph
