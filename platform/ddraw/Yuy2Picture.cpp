#include "Yuy2Picture.h"

#include <algorithm>

#include "VideoSurface.h"

namespace {

std::uint32_t Clamp8(int value) {
    return static_cast<std::uint32_t>(std::clamp(value, 0, 255));
}

}  // namespace

std::uint32_t Bt601ToArgb(int y, int u, int v) {
    const int c = y - 16;
    const int d = u - 128;
    const int e = v - 128;
    const std::uint32_t r = Clamp8((298 * c + 409 * e + 128) >> 8);
    const std::uint32_t g = Clamp8((298 * c - 100 * d - 208 * e + 128) >> 8);
    const std::uint32_t b = Clamp8((298 * c + 516 * d + 128) >> 8);
    return 0xFF000000u | (r << 16) | (g << 8) | b;
}

int DrawYuy2(CVideoSurface& surface, const ScreenRect& dest_screen, int width, int height,
             const unsigned char* picture) {
    if (!picture || width <= 0 || height <= 0 || width % 2 != 0)
        return -1;
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 2;
    return surface.DrawScaled(dest_screen, width, height, [=](int x, int y) {
        const unsigned char* pair = picture + y * row_bytes + (x & ~1) * 2;
        return Bt601ToArgb(pair[(x & 1) * 2], pair[1], pair[3]);
    });
}
