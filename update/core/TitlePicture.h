#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "update/core/GlyphBitmap.h"
#include "update/core/TitleLayout.h"

inline constexpr std::uint32_t kTitleWhite = 0xFFFFFF;
inline constexpr std::uint32_t kTitleBlack = 0x000000;

// The drawing of the preview box: white, with the glyphs black. Pixels are 0x00RRGGBB, top
// row first.
class TitlePicture {
public:
    TitlePicture(int width_px, int height_px);

    int Width() const { return width_px_; }
    int Height() const { return height_px_; }
    const std::uint32_t* Data() const { return pixels_.data(); }
    std::uint32_t Pixel(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y) * width_px_ + x];
    }

    // Stretches the whole glyph into the rectangle, without keeping its aspect; what falls
    // outside the picture is cut off. Where the glyph shrinks, a target pixel is black when
    // any glyph pixel it stands for is, so thin strokes survive.
    void StretchGlyph(const GlyphBitmap& glyph, const CellRect& rect);

private:
    int width_px_;
    int height_px_;
    std::vector<std::uint32_t> pixels_;
};

using TitleNames = std::array<std::u32string, kTitleRows>;
using GlyphLoader = std::function<std::optional<GlyphBitmap>(char32_t)>;

// The sixteen names drawn into a white picture of the box's outer size, ten cells a row.
TitlePicture RenderTitlePicture(const TitleNames& names, const PreviewBox& box, int series,
                                const GlyphLoader& load_glyph);
