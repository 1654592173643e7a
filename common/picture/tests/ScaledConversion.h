#pragma once

#include <cstdint>

#include "common/picture/VideoDecoder.h"

// Converts a planar 4:2:0 picture of width x height to 24-bit B, G, R rows of dest_width x
// dest_height, taking for each pixel the source pixel a nearest-neighbour draw would show
// (column x * width / dest_width, row y * height / dest_height). The result is what drawing the
// full conversion into a rectangle of that size gives, for the work of the rectangle only:
// a cell much smaller than its picture costs a fraction of the full conversion.
void ConvertScaledToBgr24(uint8_t* destination, int dest_width, int dest_height,
                          const uint8_t* source, int width, int height);

// The same from three planes with their own row strides, as a decoder leaves them.
struct YuvPlanes {
    const uint8_t* luma;
    const uint8_t* u;
    const uint8_t* v;
    int luma_stride;
    int chroma_stride;
};
void ConvertScaledToBgr24(uint8_t* destination, int dest_width, int dest_height,
                          const YuvPlanes& source, int width, int height);

// The same from a decoded picture, at the size its frame's format code gives. False, with
// nothing written, when the picture lacks planes of that size.
bool ConvertDecodedScaled(uint8_t* destination, int dest_width, int dest_height,
                          const DecodedPicture& picture, int format_code);
