#pragma once

#include <memory>
#include <mutex>

#include "common/picture/VideoDecoder.h"
#include "platform/surface/VideoSurface.h"

// Draws decoded pictures stretched into a rectangle of a window's video surface,
// nearest-neighbour. Draw runs on frame threads; the surface carries the window's place on
// screen, so no window is touched off the window thread.
class CGdiRenderer {
public:
    // The drawing target: the video surface of the window the rectangles refer to.
    void SetDC(std::shared_ptr<CVideoSurface> surface);

    // A 24-bit picture (rows of B, G, R bytes, top row first, no row padding).
    // left, top, right, bottom: destination in screen coordinates (right and bottom
    // exclusive); width x height: the picture's size. Returns the number of rows drawn, 0
    // when nothing was drawn (no target, no picture, empty rectangle).
    int Draw(int left, int top, int right, int bottom, int width, int height,
             const unsigned char* pixels);
    // The same from the top-left width x height pixels of a 4:2:0 picture's planes, converted
    // as they are drawn: the colours of the 24-bit conversion without its pass.
    int DrawPlanes(int left, int top, int right, int bottom, int width, int height,
                   const DecodedPicture& planes);

private:
    std::shared_ptr<CVideoSurface> Target();

    std::mutex target_mutex_;
    std::shared_ptr<CVideoSurface> surface_;
};
