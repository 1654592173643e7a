#include "update/core/TitleSnapshot.h"

#include <algorithm>

#include "common/ui/core/BmpEncoder.h"
#include "update/core/FileBytes.h"
#include "update/core/TitleLayout.h"

namespace {

constexpr int kRgbHeader_bytes = 8;
constexpr std::uint16_t kRgbWhite555 = 0x7FFF;
constexpr std::uint16_t kRgbBackground = 0x0000;
constexpr std::uint16_t kRgbGlyph = 0xFF7F;

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t To555(std::uint32_t rgb) {
    return static_cast<std::uint16_t>((((rgb >> 19) & 0x1F) << 10) | (((rgb >> 11) & 0x1F) << 5) |
                                      ((rgb >> 3) & 0x1F));
}

std::vector<std::uint8_t> EncodeRgbTitle(const TitlePicture& picture, int width, int height) {
    const std::uint32_t row_bytes = BmpRowBytes(width, 16);
    std::vector<std::uint8_t> file(kRgbHeader_bytes + static_cast<std::size_t>(row_bytes) * height,
                                   0);
    Put16(file.data() + 4, static_cast<std::uint32_t>(width));
    Put16(file.data() + 6, static_cast<std::uint32_t>(height));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* out =
            file.data() + kRgbHeader_bytes + static_cast<std::size_t>(y) * row_bytes;
        for (int x = 0; x < width; ++x) {
            const bool white = To555(picture.Pixel(x, y)) == kRgbWhite555;
            Put16(out + 2 * x, white ? kRgbBackground : kRgbGlyph);
        }
    }
    return file;
}

}  // namespace

std::vector<std::uint8_t> EncodePreviewBitmap(const TitlePicture& picture, int width_px,
                                              int height_px, int series) {
    width_px = std::min(width_px, picture.Width());
    height_px = std::min(height_px, picture.Height());
    if (width_px <= 0 || height_px <= 0) return {};
    if (series == kRgbTitleSeries) return EncodeRgbTitle(picture, width_px, height_px);
    return EncodeBmp(picture.Data(), width_px, height_px, picture.Width(), 24);
}

bool SavePreviewBitmap(const TitlePicture& picture, const PreviewBox& box, int series,
                       const std::string& path, const ToolMessageSink& show) {
    const std::vector<std::uint8_t> file =
        EncodePreviewBitmap(picture, box.ClientWidth(), box.ClientHeight(), series);
    std::string error;
    if (file.empty()) {
        show({"The preview box has no picture to save.", "", true});
        return false;
    }
    if (!WriteFileBytes(path, file.data(), file.size(), &error)) {
        show({"open file error!\n" + error, "", true});
        return false;
    }
    return true;
}
