#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/surface/VideoSurface.h"

// What a test reads back of a video surface, and a surface of a given size to draw into.
inline std::uint32_t PixelAt(const CVideoSurface& surface, int x, int y) {
    std::uint32_t value = 0;
    surface.Read([&](const std::uint32_t* pixels, int width, int) {
        value = pixels[static_cast<std::size_t>(y) * width + x];
    });
    return value;
}

inline std::shared_ptr<CVideoSurface> SurfaceOfSize(int width, int height) {
    auto surface = std::make_shared<CVideoSurface>();
    surface->Resize(width, height);
    return surface;
}
