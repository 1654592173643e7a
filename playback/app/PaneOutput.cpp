#include "playback/app/PaneOutput.h"

#include "common/ui/core/GdiRenderer.h"
#include "platform/ddraw/DDrawCtrl.h"

int CPaneOutput::DrawPlanes(const ScreenRect& dest, int width, int height,
                            const DecodedPicture& planes) {
    if (Gdi()) return renderer_.DrawPlanes(dest, width, height, planes);
    if (!Covers(planes, width, height)) return 0;
    const unsigned char* const pointers[3] = {planes.luma, planes.u, planes.v};
    const int strides[3] = {planes.luma_stride, planes.u_stride, planes.v_stride};
    return display_.ShowPlanes(0, dest, width, height, pointers, strides);
}

int CPaneOutput::DrawBgr24(const ScreenRect& dest, int width, int height,
                           const std::uint8_t* pixels) {
    // The display takes packed 4:2:2 only.
    return renderer_.DrawBgr24(dest, width, height, pixels);
}

int CPaneOutput::DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) {
    if (Gdi()) return renderer_.DrawYuy2(dest, width, height, picture);
    return display_.ShowPic(0, dest, width, height, picture);
}
