#include "update/core/GlyphOutline.h"

#include <cstdint>
#include <vector>

#include "update/core/FileBytes.h"

namespace {

constexpr std::size_t kPixelOffset = 54;
constexpr long kRow_px = 240;  // the snapshot's fixed width
constexpr std::uint8_t kGlyphBlueBelow = 155;
constexpr std::uint8_t kGrey = 0xC0;
constexpr std::uint8_t kBackground[3] = {0x40, 0x80, 0xE0};  // blue, green, red

}  // namespace

std::string MakeOutlineFileName(const std::string& path) {
    std::string result;
    std::size_t from = 0;
    for (std::size_t at; (at = path.find(".bmp", from)) != std::string::npos; from = at + 4) {
        result.append(path, from, at - from).append("_1.bmp");
    }
    return result.append(path, from, std::string::npos);
}

int OutlineGlyphBitmap(const std::string& path, const ToolMessageSink& show) {
    std::string error;
    auto file = ReadFileBytes(path, &error);
    if (!file) {
        show({"open file error!\n" + error, "", true});
        return -1;
    }
    if (file->size() < kPixelOffset) {
        show({"fread error!\n" + path + " is too short for a bitmap", "", true});
        return -1;
    }
    std::uint8_t* pixels = file->data() + kPixelOffset;
    const long count = static_cast<long>((file->size() - kPixelOffset) / 3);

    for (long k = 0; k < count; ++k) {
        std::uint8_t* p = pixels + 3 * k;
        if (p[0] < kGlyphBlueBelow) {
            p[0] = p[1] = p[2] = kGrey;
        } else {
            p[0] = kBackground[0];
            p[1] = kBackground[1];
            p[2] = kBackground[2];
        }
    }
    for (long k = 0; k < count; ++k) {
        if (pixels[3 * k] != kGrey) continue;
        for (long n : {k - 1, k + 1, k - kRow_px, k + kRow_px}) {
            if (n < 0 || n >= count) continue;
            std::uint8_t* p = pixels + 3 * n;
            if (p[0] == kBackground[0]) p[0] = p[1] = p[2] = 0;
        }
    }

    const std::string outline_path = MakeOutlineFileName(path);
    if (!WriteFileBytes(outline_path, file->data(), file->size(), &error)) {
        show({"open file error!\n" + error, "", true});
        return -1;
    }
    return 0;
}
