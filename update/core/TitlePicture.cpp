#include "update/core/TitlePicture.h"

#include <algorithm>

namespace {

// The glyph pixels [first, last) that target pixel `at` of `target` stands for.
void SourceSpan(int at, int target, int source, int& first, int& last) {
    first = static_cast<int>(static_cast<long long>(at) * source / target);
    last = static_cast<int>(static_cast<long long>(at + 1) * source / target);
    last = std::max(last, first + 1);
}

}  // namespace

TitlePicture::TitlePicture(int width_px, int height_px)
    : width_px_(std::max(width_px, 0)),
      height_px_(std::max(height_px, 0)),
      pixels_(static_cast<std::size_t>(width_px_) * height_px_, kTitleWhite) {}

void TitlePicture::StretchGlyph(const GlyphBitmap& glyph, const CellRect& rect) {
    if (rect.width <= 0 || rect.height <= 0 || glyph.width_px <= 0 || glyph.height_px <= 0) {
        return;
    }
    const int x0 = std::max(rect.x, 0);
    const int y0 = std::max(rect.y, 0);
    const int x1 = std::min(rect.x + rect.width, width_px_);
    const int y1 = std::min(rect.y + rect.height, height_px_);
    for (int y = y0; y < y1; ++y) {
        int gy0 = 0;
        int gy1 = 0;
        SourceSpan(y - rect.y, rect.height, glyph.height_px, gy0, gy1);
        for (int x = x0; x < x1; ++x) {
            int gx0 = 0;
            int gx1 = 0;
            SourceSpan(x - rect.x, rect.width, glyph.width_px, gx0, gx1);
            bool black = false;
            for (int gy = gy0; gy < gy1 && !black; ++gy) {
                for (int gx = gx0; gx < gx1 && !black; ++gx)
                    black = glyph.Black(gx, gy);
            }
            pixels_[static_cast<std::size_t>(y) * width_px_ + x] =
                black ? kTitleBlack : kTitleWhite;
        }
    }
}

TitlePicture RenderTitlePicture(const TitleNames& names, const PreviewBox& box, int series,
                                const GlyphLoader& load_glyph) {
    TitlePicture picture(box.outer_width_px, box.outer_height_px);
    for (int row = 0; row < kTitleRows; ++row) {
        for (int cell = 0; cell < kRowCells; ++cell) {
            const auto character = GetCellCharacter(names[static_cast<std::size_t>(row)], cell);
            if (!character) continue;
            const auto glyph = load_glyph(*character);
            if (!glyph) continue;
            picture.StretchGlyph(*glyph, GlyphCellRect(series, IsWideCharacter(*character), cell,
                                                       row, box.cell_width_px, box.cell_height_px));
        }
    }
    return picture;
}
