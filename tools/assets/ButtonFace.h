#pragma once

#include <QColor>
#include <QImage>
#include <QRectF>
#include <QSize>

class QPainter;

namespace skinart {

// The state numbers are the digits of the image file names.
enum class ButtonState { kNormal = 1, kHover = 2, kPressed = 3, kDisabled = 4 };

// Colours a symbol is drawn with in one button state.
struct GlyphInk {
    QColor line;    // strokes and fills of the symbol
    QColor signal;  // colours that carry meaning: record red, live green
    QColor face;    // the face behind the symbol, for cut-outs
};

// Paints one symbol centred in box.
using GlyphPainter = void (*)(QPainter& painter, const QRectF& box, const GlyphInk& ink);

// The part of a button image the window shows: the ellipse of the button's size, seen through
// the button's two-pixel source offset (the image is copied from its pixel (2, 2) to the
// button's origin, so the image's last two columns and rows never show).
QRectF ShownEllipse(QSize size_px);

// One state image of an elliptic button: a face filling the ellipse face_px and the symbol.
QImage PaintButtonFace(QSize size_px, const QRectF& face_px, ButtonState state, GlyphPainter glyph);

}  // namespace skinart
