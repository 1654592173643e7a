#include "GdiRenderer.h"

#include "BgrRow.h"

#include <cstdint>

namespace {

inline std::uint32_t Argb(const unsigned char* bgr) {
    return 0xFF000000u | (std::uint32_t{bgr[2]} << 16) | (std::uint32_t{bgr[1]} << 8) | bgr[0];
}

}  // namespace

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
    if (!surface || !pixels || width <= 0 || height <= 0) return 0;
    const std::size_t row_bytes = static_cast<std::size_t>(width) * 3;
    // A picture drawn at its own width takes every column in turn: no column map to follow.
    const bool same_width = right - left == width;
    return surface->DrawScaledRows({left, top, right, bottom}, width, height,
                                   [pixels, row_bytes, same_width](int src_y, const int* columns,
                                                                   std::uint32_t* out, int count) {
                                       const unsigned char* row = pixels + src_y * row_bytes;
                                       if (same_width) {
                                           BgrRowToArgb(row + columns[0] * 3, out, count);
                                           return;
                                       }
                                       for (int i = 0; i < count; ++i)
                                           out[i] = Argb(row + columns[i] * 3);
                                   });
}
