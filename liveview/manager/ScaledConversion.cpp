#include "ScaledConversion.h"

#include <cstdint>
#include <vector>

#include "YuvTables.h"

namespace {

inline uint8_t Clamp(int value) {
    return static_cast<uint8_t>(value > 255 ? 255 : (value < 0 ? 0 : value));
}

}  // namespace

void ConvertScaledToBgr24(uint8_t* destination, int destWidth, int destHeight,
                          const uint8_t* source, int width, int height) {
    if (destWidth <= 0 || destHeight <= 0 || width <= 0 || height <= 0) return;
    const YuvTables& t = GetYuvTables();
    const int chromaWidth = (width + 1) / 2;
    const uint8_t* u = source + static_cast<long>(width) * height;
    const uint8_t* v = u + static_cast<long>(chromaWidth) * ((height + 1) / 2);

    thread_local std::vector<int> columns;
    columns.resize(static_cast<std::size_t>(destWidth));
    for (int x = 0; x < destWidth; ++x) {
        columns[x] = static_cast<int>(static_cast<int64_t>(x) * width / destWidth);
    }
    for (int y = 0; y < destHeight; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / destHeight);
        const uint8_t* lumaRow = source + static_cast<long>(sy) * width;
        const uint8_t* uRow = u + static_cast<long>(sy / 2) * chromaWidth;
        const uint8_t* vRow = v + static_cast<long>(sy / 2) * chromaWidth;
        uint8_t* pixel = destination + static_cast<long>(y) * destWidth * 3;
        for (int x = 0; x < destWidth; ++x, pixel += 3) {
            const int sx = columns[x];
            const int luma = lumaRow[sx];
            const int cu = uRow[sx >> 1];
            const int cv = vRow[sx >> 1];
            pixel[0] = Clamp(luma + t.u_to_blue[cu]);
            pixel[1] = Clamp(luma - t.u_to_green[cu] - t.v_to_green[cv]);
            pixel[2] = Clamp(luma + t.v_to_red[cv]);
        }
    }
}
