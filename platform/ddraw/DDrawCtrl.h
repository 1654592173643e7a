#pragma once

#include <memory>
#include <mutex>

#include "platform/surface/ScreenRect.h"

class CVideoSurface;
class QWidget;

// Shows packed 4:2:2 pictures in a window, scaled into screen rectangles, through the video
// surface of that window. InitDDraw runs on the window thread; ShowPic on frame threads.
class DDrawCtrl {
public:
    DDrawCtrl();
    virtual ~DDrawCtrl();

    // Binds to the window's video surface. 0; -1 when there is no window. The two numbers
    // are accepted for the callers' sake and mean nothing here.
    int InitDDraw(QWidget* window, int buffers, int mode);
    // Draws the picture (Y0 U Y1 V, width x height) scaled into dest (screen coordinates).
    // Rows drawn; 0 when nothing was drawn; -1 before InitDDraw or for an unreadable picture.
    int ShowPic(int surface_index, ScreenRect dest, int width, int height, unsigned char* picture);
    // The same from a 4:2:0 picture's planes (Y, U, V) and their row strides, in the same
    // colours, without a packed copy of the picture.
    int ShowPlanes(int surface_index, ScreenRect dest, int width, int height,
                   const unsigned char* const planes[3], const int strides[3]);

private:
    std::shared_ptr<CVideoSurface> Surface();

    std::mutex mutex_;
    std::shared_ptr<CVideoSurface> surface_;
};
