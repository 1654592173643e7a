#pragma once

#include <cstdint>

// out[i] = the opaque 0xAARRGGBB pixel of the 3-byte B, G, R pixel i of bgr, i in 0..count-1.
// Reads no byte past the last pixel.
void BgrRowToArgb(const unsigned char* bgr, std::uint32_t* out, int count);
