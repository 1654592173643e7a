#pragma once

#include <cstdint>
#include <vector>

// Snapshot files: uncompressed Windows bitmaps (14-byte file header, 40-byte info header,
// no colour table, rows bottom-up and padded to 4 bytes).

// Bits per pixel of a snapshot on a display of the given depth: 16 (5-5-5) up to depth 16,
// 24 for 24, else 32.
int SnapshotBitsPerPixel(int display_depth);

// Bytes of one padded row.
std::uint32_t BmpRowBytes(int width, int bits_per_pixel);

// The whole file. pixels: rows of 0x??RRGGBB, top row first, stride_px apart;
// bits_per_pixel 16, 24 or 32 (anything else gives an empty result).
std::vector<std::uint8_t> EncodeBmp(const std::uint32_t* pixels, int width, int height,
                                    int stride_px, int bits_per_pixel);
