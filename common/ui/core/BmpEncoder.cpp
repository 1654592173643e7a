#include "common/ui/core/BmpEncoder.h"

#include <cstring>

namespace {

constexpr std::uint32_t kFileHeader_bytes = 14;
constexpr std::uint32_t kInfoHeader_bytes = 40;

void Put16(std::uint8_t* at, std::uint32_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

}  // namespace

int SnapshotBitsPerPixel(int display_depth) {
    if (display_depth <= 16) return 16;
    if (display_depth == 24) return 24;
    return 32;
}

std::uint32_t BmpRowBytes(int width, int bits_per_pixel) {
    return ((static_cast<std::uint32_t>(bits_per_pixel) * width + 31) / 32) * 4;
}

std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height,
                                    int stride_px, int bits_per_pixel) {
    if (!pixels || width <= 0 || height <= 0 || stride_px < width) return {};
    if (bits_per_pixel != 16 && bits_per_pixel != 24 && bits_per_pixel != 32) return {};
    const std::uint32_t row_bytes = BmpRowBytes(width, bits_per_pixel);
    const std::uint32_t image_bytes = row_bytes * static_cast<std::uint32_t>(height);
    const std::uint32_t offset = kFileHeader_bytes + kInfoHeader_bytes;

    std::vector<std::uint8_t> file(offset + image_bytes, 0);
    std::uint8_t* h = file.data();
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, offset + image_bytes);
    Put32(h + 10, offset);
    Put32(h + 14, kInfoHeader_bytes);
    Put32(h + 18, static_cast<std::uint32_t>(width));
    Put32(h + 22, static_cast<std::uint32_t>(height));  // positive: bottom row first
    Put16(h + 26, 1);
    Put16(h + 28, static_cast<std::uint32_t>(bits_per_pixel));
    Put32(h + 30, 0);  // uncompressed
    Put32(h + 34, image_bytes);

    for (int y = 0; y < height; ++y) {
        const std::uint32_t* in = pixels + static_cast<std::size_t>(height - 1 - y) * stride_px;
        std::uint8_t* out = file.data() + offset + static_cast<std::size_t>(y) * row_bytes;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = in[x];
            const std::uint8_t r = static_cast<std::uint8_t>(p >> 16);
            const std::uint8_t g = static_cast<std::uint8_t>(p >> 8);
            const std::uint8_t b = static_cast<std::uint8_t>(p);
            if (bits_per_pixel == 16) {
                Put16(out + 2 * x, ((r >> 3) << 10) | ((g >> 3) << 5) | (b >> 3));
            } else {
                std::uint8_t* px = out + (bits_per_pixel / 8) * x;
                px[0] = b;
                px[1] = g;
                px[2] = r;  // the fourth byte of 32-bit pixels stays 0
            }
        }
    }
    return file;
}
