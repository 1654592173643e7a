#include <QPainter>
#include <QtMath>

#include "tools/assets/GlyphKit.h"
#include "tools/assets/Glyphs.h"

namespace skinart::glyph {
namespace {

void Arrow(QPainter& painter, const QRectF& box, const GlyphInk& ink, QPointF direction) {
    const QRectF square = SquareIn(box, 0.86);
    const qreal half = square.width() / 2;
    const QPointF centre = square.center();
    const QPointF tip = centre + direction * half;
    const QPointF base = centre - direction * (half * 0.55);
    painter.setPen(RoundPen(ink.line, 1.2));
    painter.setBrush(ink.line);
    painter.drawPath(Triangle(tip, base, square.width() * 0.95));
}

// The symbol sits on the left of a wide box and its sign on the right.
struct Split {
    QRectF symbol;
    QPointF sign_centre;
    qreal sign_half_px;
};

Split SplitBox(const QRectF& box) {
    const qreal side = std::min(box.height(), box.width() * 0.58);
    const QRectF symbol(box.left() + box.width() * 0.04, box.center().y() - side / 2, side, side);
    const qreal sign_half = side * 0.26;
    const QPointF sign(std::max(symbol.right() + sign_half + side * 0.22, box.right() - sign_half),
                       box.center().y());
    return {symbol, sign, sign_half};
}

void Iris(QPainter& painter, const QRectF& box, const GlyphInk& ink, qreal opening) {
    const Split split = SplitBox(box);
    const QPointF centre = split.symbol.center();
    const qreal radius = split.symbol.width() / 2;
    QPainterPath ring;
    ring.addEllipse(centre, radius, radius);
    QPolygonF hole;
    for (int i = 0; i < 6; ++i) {
        const qreal angle = qDegreesToRadians(30.0 + 60.0 * i);
        hole << centre + QPointF(qCos(angle), qSin(angle)) * radius * opening;
    }
    QPainterPath opening_path;
    opening_path.addPolygon(hole);
    opening_path.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(ring.subtracted(opening_path));
    DrawSign(painter, split.sign_centre, split.sign_half_px, StrokeFor(split.symbol.width()) * 1.1,
             ink.line, opening > 0.5);
}

void Focus(QPainter& painter, const QRectF& box, const GlyphInk& ink, bool near) {
    const Split split = SplitBox(box);
    const QRectF frame = split.symbol.adjusted(1, 1, -1, -1);
    const qreal stroke = StrokeFor(frame.width());
    const qreal arm = frame.width() * 0.32;
    painter.setPen(RoundPen(ink.line, stroke));
    for (const QPointF& corner :
         {frame.topLeft(), frame.topRight(), frame.bottomRight(), frame.bottomLeft()}) {
        const qreal dx = corner.x() < frame.center().x() ? arm : -arm;
        const qreal dy = corner.y() < frame.center().y() ? arm : -arm;
        painter.drawLine(corner, corner + QPointF(dx, 0));
        painter.drawLine(corner, corner + QPointF(0, dy));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawEllipse(frame.center(), frame.width() * 0.14, frame.width() * 0.14);
    DrawSign(painter, split.sign_centre, split.sign_half_px, stroke * 1.1, ink.line, near);
}

void Zoom(QPainter& painter, const QRectF& box, const GlyphInk& ink, bool in) {
    const QRectF square = SquareIn(box, 1.08);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side) * 1.1;
    const QPointF lens = square.topLeft() + QPointF(side * 0.42, side * 0.42);
    const qreal radius = side * 0.3;
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(lens, radius, radius);
    painter.setPen(RoundPen(ink.line, stroke * 1.5));
    painter.drawLine(lens + QPointF(radius, radius) * 0.72,
                     square.bottomRight() - QPointF(side, side) * 0.06);
    DrawSign(painter, lens, radius * 0.55, stroke * 0.9, ink.line, in);
}

}  // namespace

void ArrowUp(QPainter& p, const QRectF& b, const GlyphInk& i) { Arrow(p, b, i, {0, -1}); }
void ArrowDown(QPainter& p, const QRectF& b, const GlyphInk& i) { Arrow(p, b, i, {0, 1}); }
void ArrowLeft(QPainter& p, const QRectF& b, const GlyphInk& i) { Arrow(p, b, i, {-1, 0}); }
void ArrowRight(QPainter& p, const QRectF& b, const GlyphInk& i) { Arrow(p, b, i, {1, 0}); }

void Centre(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 0.95);
    const qreal radius = square.width() / 2;
    DrawRing(painter, square, 0.85, ink.line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawEllipse(square.center(), radius * 0.38, radius * 0.38);
}

void IrisOpen(QPainter& p, const QRectF& b, const GlyphInk& i) { Iris(p, b, i, 0.62); }
void IrisClose(QPainter& p, const QRectF& b, const GlyphInk& i) { Iris(p, b, i, 0.3); }
void FocusNear(QPainter& p, const QRectF& b, const GlyphInk& i) { Focus(p, b, i, true); }
void FocusFar(QPainter& p, const QRectF& b, const GlyphInk& i) { Focus(p, b, i, false); }
void ZoomIn(QPainter& p, const QRectF& b, const GlyphInk& i) { Zoom(p, b, i, true); }
void ZoomOut(QPainter& p, const QRectF& b, const GlyphInk& i) { Zoom(p, b, i, false); }

void AutoScan(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.0);
    const qreal stroke = StrokeFor(square.width()) * 1.1;
    const QRectF arc = square.adjusted(stroke, stroke, -stroke, -stroke);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawArc(arc, 100 * 16, 290 * 16);
    // Arrow head where the arc ends, pointing on round the circle.
    const qreal end = qDegreesToRadians(100.0 + 290.0);
    const QPointF at =
        arc.center() + QPointF(qCos(end) * arc.width() / 2, -qSin(end) * arc.height() / 2);
    const QPointF along(-qSin(end), -qCos(end));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(Triangle(at + along * stroke * 2.2, at - along * stroke * 0.6, stroke * 3.2));
    painter.drawEllipse(arc.center(), stroke * 0.9, stroke * 0.9);
}

void PadLocked(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // The pad as a faint rosette, with a padlock over it: the pad is not available.
    const QRectF square = SquareIn(box, 1.0);
    const QPointF centre = square.center();
    const qreal reach = square.width() / 2;
    QColor faint = ink.line;
    faint.setAlpha(70);
    painter.setPen(Qt::NoPen);
    painter.setBrush(faint);
    for (const QPointF& direction :
         {QPointF(0, -1), QPointF(0, 1), QPointF(-1, 0), QPointF(1, 0)}) {
        painter.drawPath(
            Triangle(centre + direction * reach, centre + direction * reach * 0.62, reach * 0.42));
    }
    const qreal body_w = reach * 0.78;
    const QRectF body(centre.x() - body_w / 2, centre.y() - body_w * 0.18, body_w, body_w * 0.7);
    const qreal stroke = StrokeFor(square.width()) * 0.7;
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    const QRectF shackle(body.left() + body_w * 0.2, body.top() - body_w * 0.46, body_w * 0.6,
                         body_w * 0.8);
    painter.drawArc(shackle, 0, 180 * 16);
    painter.drawLine(QPointF(shackle.left(), shackle.center().y()),
                     QPointF(shackle.left(), body.top()));
    painter.drawLine(QPointF(shackle.right(), shackle.center().y()),
                     QPointF(shackle.right(), body.top()));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawRoundedRect(body, stroke, stroke);
    painter.setBrush(ink.face);
    painter.drawEllipse(QPointF(body.center().x(), body.center().y() - body_w * 0.04),
                        body_w * 0.08, body_w * 0.08);
}

}  // namespace skinart::glyph
