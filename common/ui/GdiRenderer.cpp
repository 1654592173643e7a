#include "GdiRenderer.h"

#include <cstdint>

void CGdiRenderer::SetDC(std::shared_ptr<CVideoSurface> surface) {
    std::lock_guard lock(target_mutex_);
    surface_ = std::move(surface);
}

int CGdiRenderer::Draw(int left, int top, int right, int bottom, int width, int height,
                       const unsigned char* pixels) {
    std::shared_ptr<CVideoSurface> surface;
    {
        std::lock_guard lock(target_mutex_);
        surface = surface_;
    }
    if (!surface || !pixels || width <= 0 || height <= 0)
        return 0;
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    return surface->DrawScaled({left, top, right, bottom}, width, height,
                               [pixels, row_bytes](int x, int y) -> std::uint32_t {
                                   const unsigned char* p = pixels + y * row_bytes + x * 3;
                                   return 0xFF000000u | (std::uint32_t{p[2]} << 16) |
                                          (std::uint32_t{p[1]} << 8) | p[0];
                               });
}
