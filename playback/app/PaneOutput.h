#pragma once

#include <atomic>

#include "common/ui/core/VideoOutput.h"

class CGdiRenderer;
class DDrawCtrl;

// The playback window's output for the decode thread: the display, or the GDI renderer that
// replaces it when the display could not be set up (the GDI flag set).
class CPaneOutput : public CVideoOutput {
public:
    CPaneOutput(DDrawCtrl& display, CGdiRenderer& renderer, const std::atomic<int>& gdi_flag)
        : display_(display), renderer_(renderer), gdi_flag_(gdi_flag) {}

    int DrawPlanes(const ScreenRect& dest, int width, int height,
                   const DecodedPicture& planes) override;
    int DrawBgr24(const ScreenRect& dest, int width, int height,
                  const std::uint8_t* pixels) override;
    int DrawYuy2(const ScreenRect& dest, int width, int height, std::uint8_t* picture) override;

private:
    bool Gdi() const { return gdi_flag_.load(std::memory_order_relaxed) == 1; }

    DDrawCtrl& display_;
    CGdiRenderer& renderer_;
    const std::atomic<int>& gdi_flag_;
};
