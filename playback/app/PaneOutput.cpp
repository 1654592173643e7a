#include "playback/app/PaneOutput.h"

#include "common/ui/core/GdiRenderer.h"
#include "platform/ddraw/DDrawCtrl.h"

void CPaneOutput::DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) {
    display_.ShowPic(0, dest, width, height, picture);
}

void CPaneOutput::DrawBgr24(const ScreenRect& dest, int width, int height,
                            const std::uint8_t* picture) {
    renderer_.Draw(dest.left, dest.top, dest.right, dest.bottom, width, height, picture);
}
