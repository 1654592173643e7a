#pragma once

#include <cmath>
#include <cstdint>

// The conversion rule written out independently of the library: chroma terms truncated
// toward zero, sums clamped to 0..255.
namespace yuv_model {

inline int Term(int chroma, int sixty_fourths) {
    return static_cast<int>(std::trunc((chroma - 128) * sixty_fourths / 64.0));
}

inline uint8_t Clamp(int v) { return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v)); }

inline void Bgr(int y, int u, int v, uint8_t* out) {
    out[0] = Clamp(y + Term(u, 111));
    out[1] = Clamp(y - Term(u, 22) - Term(v, 45));
    out[2] = Clamp(y + Term(v, 88));
}

}  // namespace yuv_model
