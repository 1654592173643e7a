#pragma once

#include <cstdint>

#include "common/picture/VideoDecoder.h"
#include "platform/surface/ScreenRect.h"

// Where frame threads draw pictures: each call scales a width x height picture
// nearest-neighbour into dest (screen coordinates, right and bottom exclusive) and returns the
// rows drawn, 0 when nothing was drawn. The picture comes as a 4:2:0 picture's planes (its
// top-left width x height pixels), as 24-bit B, G, R rows, or as packed 4:2:2 rows
// (Y0 U Y1 V), top row first and unpadded. Called on frame threads, never touching a window.
class CVideoOutput {
public:
    virtual ~CVideoOutput() = default;
    virtual int DrawPlanes(const ScreenRect& dest, int width, int height,
                           const DecodedPicture& planes) = 0;
    virtual int DrawBgr24(const ScreenRect& dest, int width, int height,
                          const std::uint8_t* pixels) = 0;
    virtual int DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) = 0;
};
