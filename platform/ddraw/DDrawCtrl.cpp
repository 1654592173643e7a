#include "platform/ddraw/DDrawCtrl.h"

#include "platform/ddraw/Yuy2Picture.h"
#include "platform/surface/VideoSurface.h"
#include "platform/surface/VideoSurfaceView.h"

DDrawCtrl::DDrawCtrl() = default;
DDrawCtrl::~DDrawCtrl() = default;

int DDrawCtrl::InitDDraw(QWidget* window, int, int) {
    if (!window) return -1;
    std::shared_ptr<CVideoSurface> surface = CVideoSurfaceView::SurfaceOf(window);
    std::lock_guard lock(mutex_);
    surface_ = std::move(surface);
    return 0;
}

std::shared_ptr<CVideoSurface> DDrawCtrl::Surface() {
    std::lock_guard lock(mutex_);
    return surface_;
}

int DDrawCtrl::ShowPic(int, ScreenRect dest, int width, int height, unsigned char* picture) {
    const std::shared_ptr<CVideoSurface> surface = Surface();
    if (!surface) return -1;
    return DrawYuy2(*surface, dest, width, height, picture);
}

int DDrawCtrl::ShowPlanes(int, ScreenRect dest, int width, int height,
                          const unsigned char* const planes[3], const int strides[3]) {
    const std::shared_ptr<CVideoSurface> surface = Surface();
    if (!surface) return -1;
    return DrawYuv420(*surface, dest, width, height, planes, strides);
}
