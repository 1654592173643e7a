#pragma once

#include <memory>
#include <mutex>

#include "common/ui/core/VideoOutput.h"
#include "platform/surface/VideoSurface.h"

// Draws decoded pictures stretched into a rectangle of a window's video surface,
// nearest-neighbour. Draw runs on frame threads; the surface carries the window's place on
// screen, so no window is touched off the window thread.
class CGdiRenderer : public CVideoOutput {
public:
    // The drawing target: the video surface of the window the rectangles refer to.
    void SetDC(std::shared_ptr<CVideoSurface> surface);

    // A 24-bit picture (rows of B, G, R bytes, top row first, no row padding).
    // left, top, right, bottom: destination in screen coordinates (right and bottom
    // exclusive); width x height: the picture's size. Returns the number of rows drawn, 0
    // when nothing was drawn (no target, no picture, empty rectangle).
    int Draw(int left, int top, int right, int bottom, int width, int height,
             const unsigned char* pixels);

    // Planes are converted as they are drawn: the colours of the 24-bit conversion without its
    // pass. Packed 4:2:2 pictures take the display's colours.
    int DrawPlanes(const ScreenRect& dest, int width, int height,
                   const DecodedPicture& planes) override;
    int DrawBgr24(const ScreenRect& dest, int width, int height,
                  const std::uint8_t* pixels) override;
    int DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) override;

private:
    std::shared_ptr<CVideoSurface> Target();

    std::mutex target_mutex_;
    std::shared_ptr<CVideoSurface> surface_;
};
