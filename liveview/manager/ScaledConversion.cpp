#include "ScaledConversion.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "YuvKernels.h"

namespace {

// Pixels gathered per pass; the row buffers stay on the stack and in the first-level cache.
constexpr int kChunkPixels = 256;
constexpr int kWideStep = 32;  // pixels per step of the AVX2 row kernel
static_assert(kChunkPixels % kWideStep == 0);

// Source column of every destination column, kept per thread for the last size pair.
const std::vector<int>& SourceColumns(int width, int destWidth) {
    thread_local std::vector<int> columns;
    thread_local int builtWidth = -1;
    thread_local int builtDestWidth = -1;
    if (builtWidth != width || builtDestWidth != destWidth) {
        columns.resize(static_cast<std::size_t>(destWidth));
        for (int x = 0; x < destWidth; ++x) {
            columns[x] = static_cast<int>(static_cast<int64_t>(x) * width / destWidth);
        }
        builtWidth = width;
        builtDestWidth = destWidth;
    }
    return columns;
}

}  // namespace

void ConvertScaledToBgr24(uint8_t* destination, int destWidth, int destHeight,
                          const uint8_t* source, int width, int height) {
    const int chromaWidth = (width + 1) / 2;
    const uint8_t* u = source + static_cast<long>(width) * height;
    const uint8_t* v = u + static_cast<long>(chromaWidth) * ((height + 1) / 2);
    ConvertScaledToBgr24(destination, destWidth, destHeight, {source, u, v, width, chromaWidth},
                         width, height);
}

void ConvertScaledToBgr24(uint8_t* destination, int destWidth, int destHeight,
                          const YuvPlanes& source, int width, int height) {
    if (destWidth <= 0 || destHeight <= 0 || width <= 0 || height <= 0) return;
    const bool wide = yuv::BestKernel() == yuv::Kernel::kAvx2;
    const int* columns = SourceColumns(width, destWidth).data();

    // The kept pixels of a row are gathered with their own chroma, then converted as one row.
    uint8_t luma[kChunkPixels];
    uint8_t cu[kChunkPixels];
    uint8_t cv[kChunkPixels];
    uint8_t bgr[kChunkPixels * 3];
    for (int y = 0; y < destHeight; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / destHeight);
        const uint8_t* lumaRow = source.luma + static_cast<long>(sy) * source.lumaStride;
        const uint8_t* uRow = source.u + static_cast<long>(sy / 2) * source.chromaStride;
        const uint8_t* vRow = source.v + static_cast<long>(sy / 2) * source.chromaStride;
        uint8_t* row = destination + static_cast<long>(y) * destWidth * 3;
        for (int x0 = 0; x0 < destWidth; x0 += kChunkPixels) {
            const int count = std::min(kChunkPixels, destWidth - x0);
            for (int i = 0; i < count; ++i) {
                const int sx = columns[x0 + i];
                luma[i] = lumaRow[sx];
                cu[i] = uRow[sx >> 1];
                cv[i] = vRow[sx >> 1];
            }
            uint8_t* out = row + 3 * x0;
            if (!wide) {
                yuv::Bgr24Row444Scalar(luma, cu, cv, out, 0, count);
                continue;
            }
            // Rounded up to the wide kernel's step, so no pixel is left to the scalar one; the
            // padding is converted into the local row and not copied out.
            const int padded = (count + kWideStep - 1) / kWideStep * kWideStep;
            std::fill(luma + count, luma + padded, uint8_t{0});
            std::fill(cu + count, cu + padded, uint8_t{128});
            std::fill(cv + count, cv + padded, uint8_t{128});
            yuv::Bgr24Row444Avx2(luma, cu, cv, bgr, padded);
            std::memcpy(out, bgr, static_cast<std::size_t>(count) * 3);
        }
    }
}
