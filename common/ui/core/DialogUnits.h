#pragma once

// A dialog template measures its controls in dialog units: a quarter of its font's average
// character width across and an eighth of the character's height down.
struct DialogBaseUnits {
    int width_px;
    int height_px;
};

// What becomes of the part of a pixel a length comes to.
enum class DialogUnitRounding {
    kHalfAway,  // as the platform maps a template: halves round away from zero
    kDropped,   // the fraction is dropped
};

constexpr int DialogUnitsToPixels(int units, int base_px, int per_base,
                                  DialogUnitRounding rounding) {
    const int scaled = units * base_px;
    if (rounding == DialogUnitRounding::kDropped) return scaled / per_base;
    const int magnitude = (scaled < 0 ? -scaled : scaled) + per_base / 2;
    return (scaled < 0 ? -1 : 1) * (magnitude / per_base);
}

constexpr int DialogUnitsX_px(int units, DialogBaseUnits base,
                              DialogUnitRounding rounding = DialogUnitRounding::kHalfAway) {
    return DialogUnitsToPixels(units, base.width_px, 4, rounding);
}

constexpr int DialogUnitsY_px(int units, DialogBaseUnits base,
                              DialogUnitRounding rounding = DialogUnitRounding::kHalfAway) {
    return DialogUnitsToPixels(units, base.height_px, 8, rounding);
}
