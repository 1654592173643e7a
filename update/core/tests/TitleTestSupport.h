#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "common/ui/core/BmpEncoder.h"
#include "update/core/TitlePicture.h"
#include "update/core/ToolMessage.h"

// Messages a rule showed, in order.
struct ShownMessages {
    std::vector<ToolMessage> shown;
    ToolMessageSink Sink() {
        return [this](const ToolMessage& m) { shown.push_back(m); };
    }
    std::string Last() const { return shown.empty() ? "" : shown.back().text; }
};

// A glyph that is black all over, so a cell's rectangle shows exactly where it was drawn.
inline GlyphLoader SolidGlyphs() {
    return [](char32_t) -> std::optional<GlyphBitmap> {
        GlyphBitmap glyph(5, 7);
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 5; ++x)
                glyph.SetBlack(x, y);
        return glyph;
    };
}

// A 24-bit bitmap file of width x height whose pixels are colour(x, y) (0xRRGGBB, y from the
// top).
inline std::string WriteBitmap(const std::filesystem::path& path, int width, int height,
                               const std::function<std::uint32_t(int, int)>& colour) {
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels[static_cast<std::size_t>(y) * width + x] = colour(x, y);
    const auto file = EncodeBmp(pixels.data(), width, height, width, 24);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()),
               static_cast<std::streamsize>(file.size()));
    return path.string();
}

inline std::vector<std::uint8_t> FileContent(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
