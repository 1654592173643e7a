#pragma once

#include <optional>
#include <string_view>

// The recorder model as the update tool reads it from the type code.
inline constexpr int kRgbTitleSeries = 7;  // takes 16-bit RGB title images, not tables
inline int SeriesOf(int type_code) { return type_code / 1000; }
inline int ChannelCountOf(int type_code) { return type_code % 100; }

inline constexpr int kTitleRows = 16;  // one row per channel
inline constexpr int kRowCells = 10;   // characters drawn per name
inline constexpr int kBoxEdge_px = 2;  // sunken edge of the preview box on each side

// When the preview box is sized: on opening, or for one of the two images a series-7 update
// sends.
enum class TitlePass { kOpening, kChannelImage, kRecordImage };

// The preview box and its character cells.
struct PreviewBox {
    int outer_width_px = 0;
    int outer_height_px = 0;
    int cell_height_px = 0;  // H
    int cell_width_px = 0;   // W

    int ClientWidth() const { return outer_width_px - 2 * kBoxEdge_px; }
    int ClientHeight() const { return outer_height_px - 2 * kBoxEdge_px; }
    bool operator==(const PreviewBox&) const = default;
};

PreviewBox PreviewBoxFor(int series, TitlePass pass);

struct CellRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool operator==(const CellRect&) const = default;
};

// Where the glyph of cell `cell` of row `row` is stretched to. A wide character (anything
// beyond ASCII) takes the larger rectangle.
CellRect GlyphCellRect(int series, bool wide, int cell, int row, int cell_width_px,
                       int cell_height_px);

inline bool IsWideCharacter(char32_t character) { return character >= 0x80; }

// Character number `cell` of a name, or nothing when the name is shorter or has a space there
// (the cell stays white).
std::optional<char32_t> GetCellCharacter(std::u32string_view name, int cell);
