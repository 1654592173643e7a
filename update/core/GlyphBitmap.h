#pragma once

#include <cstdint>
#include <vector>

// The black box of one glyph: 1 bit per pixel (set = black), rows padded to 4 bytes, top row
// first.
struct GlyphBitmap {
    int width_px = 0;
    int height_px = 0;
    std::vector<std::uint8_t> bits;

    static int StrideBytes(int width_px) { return ((width_px + 31) / 32) * 4; }

    GlyphBitmap() = default;
    GlyphBitmap(int width, int height)
        : width_px(width),
          height_px(height),
          bits(static_cast<std::size_t>(StrideBytes(width)) * static_cast<std::size_t>(height)) {}

    bool Black(int x, int y) const {
        const std::size_t at = static_cast<std::size_t>(y) * StrideBytes(width_px) + x / 8;
        return (bits[at] >> (7 - x % 8)) & 1;
    }
    void SetBlack(int x, int y) {
        const std::size_t at = static_cast<std::size_t>(y) * StrideBytes(width_px) + x / 8;
        bits[at] = static_cast<std::uint8_t>(bits[at] | (0x80 >> (x % 8)));
    }
};
