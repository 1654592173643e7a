#pragma once

#include <cstdint>

#include "common/picture/VideoDecoder.h"

struct AVFrame;

// Planar 4:2:0 pictures: luma width x height, then U and V of ((width + 1) / 2) x
// ((height + 1) / 2) bytes each (for the even sizes of every format: U at width x height, V at
// width x height x 5/4). Pixels use the chroma sample at column j / 2 of chroma row i / 2.

// 24-bit B, G, R rows, top row first, pitch_bytes apart.
void Yuv420ToBgr24(const uint8_t* source, int width, int height, int pitch_bytes,
                   uint8_t* destination);
// Yuv420ToBgr24 with the size of the format code and unpadded rows. Returns 0.
int ConvertToBgr24(uint8_t* destination, const uint8_t* source, int format_code);

// Packed 4:2:2 rows (Y0 U Y1 V) of 2 x width bytes each; an odd last pixel gets Y and U only.
void Yuv420ToYuy2(const uint8_t* luma, const uint8_t* u, const uint8_t* v, uint8_t* destination,
                  int width, int height);
// Yuv420ToYuy2 of a contiguous picture of the format code's size. Returns 0.
int ConvertToYuy2(uint8_t* destination, const uint8_t* source, int format_code);

// Copies a decoded picture's three planes into one contiguous picture of the format code's
// size. Returns 1, or 0 (nothing copied) for no format or a picture smaller than the format.
// A picture that already lies in destination as that contiguous picture stays as it is.
int CopyDecodedPlanes(const DecodedPicture& picture, uint8_t* destination, int format_code);
int CopyDecodedPlanes(const AVFrame* picture, uint8_t* destination, int format_code);
