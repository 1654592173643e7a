#pragma once

#include <QColor>
#include <QImage>

namespace skinart {

// The play slider's thumbs are drawn through a mask made from their own pixel (0, 0): every
// pixel of that colour stays see-through.
constexpr QRgb kThumbKey = 0xFFFF00FF;

struct SliderThumbArt {
    QImage resting;  // bitmap resource 132
    QImage dragged;  // bitmap resource 133
};

SliderThumbArt PaintSliderThumbs();

}  // namespace skinart
