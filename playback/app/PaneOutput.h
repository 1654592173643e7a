#pragma once

#include "playback/core/decode/PictureOutput.h"

class CGdiRenderer;
class DDrawCtrl;

// The playback window's two outputs for the decode thread: the display for packed 4:2:2
// pictures and the GDI renderer that replaces it when the display could not be set up.
class CPaneOutput : public CPictureOutput {
public:
    CPaneOutput(DDrawCtrl& display, CGdiRenderer& renderer)
        : display_(display), renderer_(renderer) {}

    void DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) override;
    void DrawBgr24(const ScreenRect& dest, int width, int height,
                   const std::uint8_t* picture) override;

private:
    DDrawCtrl& display_;
    CGdiRenderer& renderer_;
};
