#include "tools/assets/ProgramIcons.h"

#include <QLinearGradient>
#include <QPainter>

#include "tools/assets/Glyphs.h"
#include "tools/assets/Palette.h"

namespace skinart {
namespace {

constexpr int kIcon_px = 48;
constexpr qreal kRim_px = 2.0;

void SuiteMark(QPainter& painter, const QRectF& box, const GlyphInk&) {
    const qreal radius = box.width() * 0.42;
    painter.setPen(QPen(kAccent, radius * 0.36));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(box.center(), radius, radius);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kAccent);
    painter.drawEllipse(box.center(), radius * 0.38, radius * 0.38);
}

QImage PaintIcon(GlyphPainter glyph) {
    QImage image(kIcon_px, kIcon_px, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(0, 0, kIcon_px, kIcon_px)
                            .adjusted(kRim_px / 2, kRim_px / 2, -kRim_px / 2, -kRim_px / 2);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, kFaceTop);
    fill.setColorAt(1, kFaceBottom);
    painter.setPen(QPen(kAccent, kRim_px));
    painter.setBrush(fill);
    painter.drawEllipse(face);

    const qreal side = face.width() * 0.62;
    const QRectF box(face.center().x() - side / 2, face.center().y() - side / 2, side, side);
    painter.setPen(Qt::NoPen);
    glyph(painter, box, {kInkBright, kRecord, kFaceBottom});
    return image;
}

}  // namespace

std::vector<ProgramIconArt> PaintProgramIcons() {
    return {
        {"Start", PaintIcon(SuiteMark)},
        {"Oculan", PaintIcon(glyph::LiveView)},
        {"Rewinda", PaintIcon(glyph::RemotePlayback)},
        {"Firmora", PaintIcon(glyph::UpdateTool)},
    };
}

}  // namespace skinart
