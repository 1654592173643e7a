#include "update/core/YCbCr.h"

#include <algorithm>

namespace {

std::uint8_t Limit(int value) { return static_cast<std::uint8_t>(std::clamp(value, 1, 254)); }

}  // namespace

std::array<std::uint8_t, 3> RgbToYCbCr(std::uint8_t blue, std::uint8_t green, std::uint8_t red) {
    const int r = red;
    const int g = green;
    const int b = blue;
    return {Limit((257 * r + 504 * g + 98 * b + 16000) / 1000),
            Limit((-148 * r - 291 * g + 439 * b + 128000) / 1000),
            Limit((439 * r - 368 * g - 71 * b + 128000) / 1000)};
}
