#pragma once

#include <array>
#include <cstdint>

// Y, Cb, Cr of a colour as the recorder's title tables take them, each limited to 1..254.
std::array<std::uint8_t, 3> RgbToYCbCr(std::uint8_t blue, std::uint8_t green, std::uint8_t red);
