#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "update/core/ToolMessage.h"

// The outlined title picture turned into the recorder's title tables, as the table text
// "tmp.h": the colour table (each used colour as Y, Cb, Cr and its address) and the bitmap
// table (each pixel as its colour's index, top row first).
class TitleTables {
public:
    static constexpr int kMaxColors = 64;
    static constexpr int kTitleUnits = 16;  // the picture is one unit per channel high

    struct Bgr {
        std::uint8_t blue = 0xCC;
        std::uint8_t green = 0xCC;
        std::uint8_t red = 0xCC;
        bool operator==(const Bgr&) const = default;
    };

    explicit TitleTables(ToolMessageSink show);

    // 24-bit Windows bitmap into the bitmap buffer: 1 accepted, 0 refused after a message.
    int ReadBitmapFile(const std::string& path);
    // The colour table from the bitmap buffer in order of first appearance (bottom row
    // first): 1, or 0 after a message when more than 64 colours are used.
    int CollectUsedColors();

    void WriteColorTable(std::string& text) const;
    void WriteBitmapTableHeader(std::string& text) const;
    void WritePixelTable(std::string& text) const;

    // ReadBitmapFile, the size checks, CollectUsedColors and the table text written to
    // table_path: 0, or -1 after a message.
    int ConvertBitmapToTables(const std::string& bitmap_path, const std::string& table_path);

private:
    void Fail(const std::string& text, const std::string& caption) const;
    void ResetColors();
    std::size_t RowBytes() const;
    // Row of the picture in file order: 0 is the bottom row.
    const std::uint8_t* FileRow(int row) const;
    int IndexOf(const std::uint8_t* bgr) const;
    int Lines() const { return height_px_ / kTitleUnits; }

    ToolMessageSink show_;
    std::vector<std::uint8_t> bitmap_;  // the file without its 14-byte file header
    std::size_t pixel_offset_ = 0;      // of the pixels in bitmap_
    int width_px_ = 0;
    int height_px_ = 0;
    std::uint8_t used_color_count_ = 0;
    std::array<Bgr, kMaxColors + 1> colors_{};
    std::array<std::uint16_t, kMaxColors + 1> color_flags_{};
};
