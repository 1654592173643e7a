#pragma once

#include <cstdint>

// Rows of BT.601 studio-range pixels with a chroma sample each, to opaque 0xAARRGGBB, in 8-bit
// fixed point, each channel clamped to 0..255:
//   c = y - 16, d = u - 128, e = v - 128
//   R = (298 c + 409 e + 128) >> 8
//   G = (298 c - 100 d - 208 e + 128) >> 8
//   B = (298 c + 516 d + 128) >> 8
// so Y 16 is black and Y 235 white at neutral chroma (128). out[i] for i in 0..count-1; the
// wide kernel converts whole steps of 32 and reads no byte past them.
namespace bt601 {

void ArgbRowScalar(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v,
                   std::uint32_t* out, int from, int count);
// Returns how many pixels it converted (a multiple of 32); 0 without AVX2.
int ArgbRowWide(const std::uint8_t* y, const std::uint8_t* u, const std::uint8_t* v,
                std::uint32_t* out, int count);
// The same for every second pixel of a packed 4:2:2 row (Y0 U Y1 V), as a picture drawn at half
// its width takes them: out[i] from the Y0, U and V of pair i.
int ArgbHalfRowWide(const std::uint8_t* yuy2, std::uint32_t* out, int count);
// The same for every fourth pixel: out[i] from pair 2 i.
int ArgbQuarterRowWide(const std::uint8_t* yuy2, std::uint32_t* out, int count);
// Every pixel of a packed 4:2:2 row: out[i] from Y of pixel i and the chroma of its pair.
int ArgbPairRowWide(const std::uint8_t* yuy2, std::uint32_t* out, int count);

}  // namespace bt601
