#include <QFont>
#include <QPainter>
#include <QRegion>
#include <QtMath>
#include <algorithm>

#include "tools/assets/GlyphKit.h"
#include "tools/assets/Glyphs.h"

namespace skinart::glyph {
namespace {

// A recorder: a low box with a row of slots and a lamp, with a round badge at its corner.
void DeviceWithBadge(QPainter& painter, const QRectF& box, const GlyphInk& ink, bool plus) {
    const QRectF square = SquareIn(box, 1.12);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QRectF monitor(square.left(), square.top() + side * 0.06, side * 0.8, side * 0.72);
    DrawMonitor(painter, monitor, ink.line, stroke);
    const QPointF badge = square.topLeft() + QPointF(side * 0.8, side * 0.66);
    const qreal radius = side * 0.26;
    painter.setPen(QPen(ink.face, stroke));
    painter.setBrush(ink.line);
    painter.drawEllipse(badge, radius, radius);
    DrawSign(painter, badge, radius * 0.55, stroke * 1.05, ink.face, plus);
}

// Two rounded links on a diagonal; apart_px pulls them from each other.
void Chain(QPainter& painter, const QRectF& box, const GlyphInk& ink, qreal apart) {
    const QRectF square = SquareIn(box, 1.05);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side) * 1.1;
    const QRectF link(-side * 0.3, -side * 0.14, side * 0.6, side * 0.28);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    for (const qreal sign : {-1.0, 1.0}) {
        painter.save();
        const qreal offset = side * (0.17 + apart) * sign;
        painter.translate(square.center() + QPointF(offset, -offset));
        painter.rotate(-45);
        painter.drawRoundedRect(link, link.height() / 2, link.height() / 2);
        painter.restore();
    }
    if (apart > 0) {
        // Short strokes across the gap show the break.
        const QPointF centre = square.center();
        const qreal r0 = side * 0.1, r1 = side * 0.24;
        for (const qreal degrees : {45.0, 225.0}) {
            const qreal a = qDegreesToRadians(degrees);
            const QPointF d(qCos(a), -qSin(a));
            painter.drawLine(centre + d * r0, centre + d * r1);
        }
    }
}

void Speaker(QPainter& painter, const QRectF& square, const GlyphInk& ink) {
    const qreal side = square.width();
    QPolygonF body;
    body << square.topLeft() + QPointF(side * 0.02, side * 0.36)
         << square.topLeft() + QPointF(side * 0.2, side * 0.36)
         << square.topLeft() + QPointF(side * 0.44, side * 0.14)
         << square.topLeft() + QPointF(side * 0.44, side * 0.86)
         << square.topLeft() + QPointF(side * 0.2, side * 0.64)
         << square.topLeft() + QPointF(side * 0.02, side * 0.64);
    painter.setPen(RoundPen(ink.line, StrokeFor(side) * 0.6));
    painter.setBrush(ink.line);
    painter.drawPolygon(body);
}

void DrawCount(QPainter& painter, const QRectF& area, const QColor& colour, int count) {
    QFont font("DejaVu Sans");
    font.setBold(true);
    font.setPixelSize(qRound(area.height()));
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(area.adjusted(-8, -2, 8, 2), Qt::AlignCenter, QString::number(count));
}

}  // namespace

void AddDevice(QPainter& p, const QRectF& b, const GlyphInk& i) { DeviceWithBadge(p, b, i, true); }
void DeleteDevice(QPainter& p, const QRectF& b, const GlyphInk& i) {
    DeviceWithBadge(p, b, i, false);
}
void Connect(QPainter& p, const QRectF& b, const GlyphInk& i) { Chain(p, b, i, 0.0); }
void Disconnect(QPainter& p, const QRectF& b, const GlyphInk& i) { Chain(p, b, i, 0.12); }

void Settings(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.05);
    const QPointF centre = square.center();
    const qreal outer = square.width() / 2, inner = outer * 0.72;
    constexpr int kTeeth = 8;
    QPolygonF outline;
    for (int i = 0; i < kTeeth * 4; ++i) {
        const qreal a = qDegreesToRadians(360.0 * i / (kTeeth * 4) + 360.0 / (kTeeth * 8));
        const qreal r = (i % 4 == 0 || i % 4 == 1) ? outer : inner;
        outline << centre + QPointF(qCos(a), qSin(a)) * r;
    }
    QPainterPath gear;
    gear.addPolygon(outline);
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(centre, outer * 0.34, outer * 0.34);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(gear.subtracted(hole));
}

void Record(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.0);
    const qreal radius = square.width() / 2;
    DrawRing(painter, square, 0.92, ink.line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.signal);
    painter.drawEllipse(square.center(), radius * 0.56, radius * 0.56);
}

void RecordStop(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.0);
    const qreal radius = square.width() / 2;
    DrawRing(painter, square, 0.92, ink.line);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.signal);
    const qreal half = radius * 0.42;
    painter.drawRoundedRect(
        QRectF(square.center() - QPointF(half, half), QSizeF(2 * half, 2 * half)), half * 0.2,
        half * 0.2);
}

void Capture(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.1);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QRectF body(square.left(), square.top() + side * 0.24, side, side * 0.64);
    QPainterPath shape;
    shape.addRoundedRect(body, side * 0.1, side * 0.1);
    shape.addRoundedRect(
        QRectF(square.left() + side * 0.3, square.top() + side * 0.1, side * 0.4, side * 0.2),
        side * 0.05, side * 0.05);
    QPainterPath lens;
    lens.addEllipse(body.center(), side * 0.22, side * 0.22);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(shape.simplified().subtracted(lens));
    painter.drawEllipse(body.center(), side * 0.12, side * 0.12);
    painter.setPen(RoundPen(ink.face, stroke * 0.6));
    painter.drawPoint(body.topRight() + QPointF(-side * 0.14, side * 0.14));
}

void Disk(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // A drive seen from the front: a case with a lower band holding the activity lamp.
    const QRectF square = SquareIn(box, 1.15);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side);
    const QRectF body(square.left(), square.top() + side * 0.2, side, side * 0.6);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(body, side * 0.1, side * 0.1);
    const qreal band_y = body.top() + body.height() * 0.55;
    painter.drawLine(QPointF(body.left(), band_y), QPointF(body.right(), band_y));
    const qreal lamp_y = (band_y + body.bottom()) / 2;
    painter.drawLine(QPointF(body.left() + side * 0.14, lamp_y),
                     QPointF(body.left() + side * 0.42, lamp_y));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawEllipse(QPointF(body.right() - side * 0.16, lamp_y), stroke * 0.8, stroke * 0.8);
}

void AudioOff(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.05);
    Speaker(painter, square, ink);
    const qreal side = square.width();
    const QPointF centre = square.topLeft() + QPointF(side * 0.76, side * 0.5);
    const qreal half = side * 0.15;
    painter.setPen(RoundPen(ink.line, StrokeFor(side)));
    painter.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    painter.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void AudioOn(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.05);
    Speaker(painter, square, ink);
    const qreal side = square.width();
    painter.setPen(RoundPen(ink.line, StrokeFor(side)));
    painter.setBrush(Qt::NoBrush);
    const QPointF mouth = square.topLeft() + QPointF(side * 0.42, side * 0.5);
    for (const qreal r : {side * 0.22, side * 0.42}) {
        painter.drawArc(QRectF(mouth - QPointF(r, r), QSizeF(2 * r, 2 * r)), -45 * 16, 90 * 16);
    }
}

void Admin(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.1);
    const qreal side = square.width();
    const qreal stroke = StrokeFor(side) * 1.1;
    const QPointF bow = square.topLeft() + QPointF(side * 0.26, side * 0.5);
    painter.setPen(RoundPen(ink.line, stroke));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(bow, side * 0.2, side * 0.2);
    const qreal shaft_y = bow.y();
    painter.drawLine(QPointF(bow.x() + side * 0.2, shaft_y), QPointF(square.right(), shaft_y));
    painter.drawLine(QPointF(square.right() - side * 0.02, shaft_y),
                     QPointF(square.right() - side * 0.02, shaft_y + side * 0.2));
    painter.drawLine(QPointF(square.right() - side * 0.2, shaft_y),
                     QPointF(square.right() - side * 0.2, shaft_y + side * 0.14));
}

void MapPin(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    const QRectF square = SquareIn(box, 1.05);
    const qreal side = square.width();
    const QPointF head = square.topLeft() + QPointF(side * 0.5, side * 0.36);
    const qreal radius = side * 0.3;
    QPainterPath head_path;
    head_path.addEllipse(head, radius, radius);
    QPainterPath point;
    point.moveTo(square.left() + side * 0.5, square.bottom());
    point.lineTo(head.x() - radius * 0.86, head.y() + radius * 0.5);
    point.lineTo(head.x() + radius * 0.86, head.y() + radius * 0.5);
    point.closeSubpath();
    const QPainterPath pin = head_path.united(point);
    QPainterPath eye;
    eye.addEllipse(head, radius * 0.42, radius * 0.42);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    painter.drawPath(pin.subtracted(eye));
}

template <int CellsPerSide>
void Layout(QPainter& painter, const QRectF& box, const GlyphInk& ink) {
    // Past six a side the lines would fill the square; the count below tells the rest. Lines
    // sit on whole pixels: smoothed one-pixel lines this close together blur into a grey patch.
    const int drawn_per_side = std::min(CellsPerSide, 6);
    const int grid_px = static_cast<int>(box.height() * 0.54);
    const QRect grid(qRound(box.center().x() - grid_px / 2.0), qRound(box.top()), grid_px, grid_px);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink.line);
    for (int i = 1; i < drawn_per_side; ++i) {
        const int at = grid.left() + qRound(static_cast<qreal>(grid_px) * i / drawn_per_side);
        painter.drawRect(QRect(at, grid.top(), 1, grid_px));
        const int row = grid.top() + qRound(static_cast<qreal>(grid_px) * i / drawn_per_side);
        painter.drawRect(QRect(grid.left(), row, grid_px, 1));
    }
    const QRegion frame =
        QRegion(grid.adjusted(-1, -1, 1, 1)) - QRegion(grid.adjusted(1, 1, -1, -1));
    painter.setClipRegion(frame, Qt::IntersectClip);
    painter.drawRect(grid.adjusted(-1, -1, 1, 1));
    painter.restore();
    const QRectF label(box.left(), grid.bottom() + box.height() * 0.06, box.width(),
                       box.height() * 0.38);
    DrawCount(painter, label, ink.line, CellsPerSide * CellsPerSide);
}

template void Layout<2>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<3>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<4>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<5>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<6>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<8>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<12>(QPainter&, const QRectF&, const GlyphInk&);
template void Layout<16>(QPainter&, const QRectF&, const GlyphInk&);

}  // namespace skinart::glyph
