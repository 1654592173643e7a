#include "update/core/TitleLayout.h"

PreviewBox PreviewBoxFor(int series, TitlePass pass) {
    if (series != kRgbTitleSeries) return {244, 388, 24, 24};
    switch (pass) {
        case TitlePass::kOpening:
            return {72, 224, 14, 12};
        case TitlePass::kChannelImage:
            return {76, 228, 14, 12};
        case TitlePass::kRecordImage:
            return {112, 324, 20, 16};
    }
    return {};
}

CellRect GlyphCellRect(int series, bool wide, int cell, int row, int cell_width_px,
                       int cell_height_px) {
    const int x = cell * cell_width_px;
    const int y = row * cell_height_px;
    const int w = cell_width_px;
    const int h = cell_height_px;
    if (series == kRgbTitleSeries) {
        return wide ? CellRect{x + 1, y + 1, w - 2, h - 3} : CellRect{x + 2, y + 1, w - 4, h - 3};
    }
    return wide ? CellRect{x + 2, y + 2, w - 4, h - 4} : CellRect{x + 6, y + 3, w - 12, h - 6};
}

std::optional<char32_t> GetCellCharacter(std::u32string_view name, int cell) {
    if (cell < 0 || static_cast<std::size_t>(cell) >= name.size()) return std::nullopt;
    const char32_t character = name[static_cast<std::size_t>(cell)];
    if (character == U' ') return std::nullopt;
    return character;
}
