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

int DDrawCtrl::ShowPic(int, ScreenRect dest, int width, int height, unsigned char* picture) {
    std::shared_ptr<CVideoSurface> surface;
    {
        std::lock_guard lock(mutex_);
        surface = surface_;
    }
    if (!surface) return -1;
    return DrawYuy2(*surface, dest, width, height, picture);
}
