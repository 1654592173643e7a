#include "tools/assets/ButtonFace.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "tools/assets/Palette.h"

namespace skinart {
namespace {

constexpr int kSourceOffset_px = 2;

struct FaceLook {
    QColor top, bottom, rim;
    qreal rim_width_px;
    GlyphInk ink;
    QPointF glyph_shift_px;
    bool gloss;
};

FaceLook LookOf(ButtonState state) {
    switch (state) {
        case ButtonState::kHover:
            return {kFaceHoverTop,
                    kFaceHoverBottom,
                    kAccent,
                    1.6,
                    {kInkBright, kRecord.lighter(112), kFaceHoverBottom},
                    {0, 0},
                    true};
        case ButtonState::kPressed:
            // Darker at the top: the face reads as pushed in.
            return {kAccentDark,
                    kAccentDeep,
                    kAccent,
                    1.6,
                    {kInkBright, kRecord.lighter(118), kAccentDeep},
                    {0.8, 0.8},
                    false};
        case ButtonState::kDisabled:
            return {kFaceDisabled,
                    kFaceDisabled,
                    kRimDisabled,
                    1.0,
                    {kInkDisabled, kInkDisabled, kFaceDisabled},
                    {0, 0},
                    false};
        case ButtonState::kNormal:
            break;
    }
    return {kFaceTop, kFaceBottom, kRim, 1.0, {kInk, kRecord, kFaceBottom}, {0, 0}, true};
}

}  // namespace

QRectF ShownEllipse(QSize size_px) {
    return QRectF(kSourceOffset_px, kSourceOffset_px, size_px.width() - kSourceOffset_px,
                  size_px.height() - kSourceOffset_px);
}

QImage PaintButtonFace(QSize size_px, const QRectF& face_px, ButtonState state,
                       GlyphPainter glyph) {
    const FaceLook look = LookOf(state);
    QImage image(size_px, QImage::Format_RGB32);
    image.fill(kGroundBottom);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF face = face_px.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient fill(face.topLeft(), face.bottomLeft());
    fill.setColorAt(0, look.top);
    fill.setColorAt(1, look.bottom);
    painter.setPen(QPen(look.rim, look.rim_width_px));
    painter.setBrush(fill);
    painter.drawEllipse(face.adjusted(look.rim_width_px / 2, look.rim_width_px / 2,
                                      -look.rim_width_px / 2, -look.rim_width_px / 2));

    if (look.gloss) {
        // A faint sheen on the upper half gives the face some depth without a bevel.
        const QRectF upper(face.left() + face.width() * 0.14, face.top() + face.height() * 0.06,
                           face.width() * 0.72, face.height() * 0.46);
        QLinearGradient sheen(upper.topLeft(), upper.bottomLeft());
        sheen.setColorAt(0, QColor(255, 255, 255, 34));
        sheen.setColorAt(1, QColor(255, 255, 255, 0));
        painter.setPen(Qt::NoPen);
        painter.setBrush(sheen);
        painter.drawEllipse(upper);
    }

    const QRectF box(face.center().x() - face.width() * 0.33 + look.glyph_shift_px.x(),
                     face.center().y() - face.height() * 0.33 + look.glyph_shift_px.y(),
                     face.width() * 0.66, face.height() * 0.66);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::NoBrush);
    glyph(painter, box, look.ink);
    return image;
}

}  // namespace skinart
