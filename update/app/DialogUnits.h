#pragma once

#include <QRect>

// Dialog-template units in pixels, for the dialog font's average character of 6 x 13 pixels;
// halves round away from zero, as the templates were laid out.
constexpr int DialogUnitsX(int units) { return (units * 6 + 2) / 4; }
constexpr int DialogUnitsY(int units) { return (units * 13 + 4) / 8; }

inline QRect DialogUnitRect(int x, int y, int width, int height) {
    return {DialogUnitsX(x), DialogUnitsY(y), DialogUnitsX(width), DialogUnitsY(height)};
}
