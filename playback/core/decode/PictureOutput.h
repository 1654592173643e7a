#pragma once

#include <cstdint>

#include "platform/surface/ScreenRect.h"

// Where the decode thread draws a pane's picture: the display (packed 4:2:2) or, when the
// display could not be set up, the GDI renderer (24-bit B, G, R rows). Both scale the picture
// into dest, given in screen coordinates. Called on the decode thread.
class CPictureOutput {
public:
    virtual ~CPictureOutput() = default;
    virtual void DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) = 0;
    virtual void DrawBgr24(const ScreenRect& dest, int width, int height,
                           const std::uint8_t* picture) = 0;
};
