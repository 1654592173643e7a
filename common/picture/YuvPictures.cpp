#include "common/picture/YuvKernels.h"

#include "platform/cpu/CpuFeatures.h"

namespace yuv {

Kernel BestKernel() {
    static const Kernel kBest = cpu::HasAvx2() ? Kernel::kAvx2 : Kernel::kPortable;
    return kBest;
}

void Bgr24Picture(Kernel kernel, const uint8_t* luma, const uint8_t* u, const uint8_t* v, int width,
                  int height, int pitch_bytes, uint8_t* destination) {
    const int chroma_width = (width + 1) / 2;
    // Rows 2k and 2k + 1 share chroma row k, so they are converted together.
    for (int i = 0; i < height; i += 2) {
        const uint8_t* y0 = luma + static_cast<long>(i) * width;
        const bool pair = i + 1 < height;
        const uint8_t* y1 = pair ? y0 + width : nullptr;
        const uint8_t* cu = u + static_cast<long>(i / 2) * chroma_width;
        const uint8_t* cv = v + static_cast<long>(i / 2) * chroma_width;
        uint8_t* d0 = destination + static_cast<long>(i) * pitch_bytes;
        uint8_t* d1 = pair ? d0 + pitch_bytes : nullptr;
        const int done = kernel == Kernel::kAvx2 ? Bgr24RowsAvx2(y0, y1, cu, cv, d0, d1, width) : 0;
        Bgr24RowsScalar(y0, y1, cu, cv, d0, d1, done, width);
    }
}

void Yuy2Picture(Kernel kernel, const uint8_t* luma, const uint8_t* u, const uint8_t* v,
                 uint8_t* destination, int width, int height) {
    const int chroma_width = (width + 1) / 2;
    for (int i = 0; i < height; ++i) {
        const uint8_t* y = luma + static_cast<long>(i) * width;
        const uint8_t* cu = u + static_cast<long>(i / 2) * chroma_width;
        const uint8_t* cv = v + static_cast<long>(i / 2) * chroma_width;
        uint8_t* d = destination + static_cast<long>(i) * 2 * width;
        const int done = kernel == Kernel::kAvx2 ? Yuy2RowAvx2(y, cu, cv, d, width)
                                                 : Yuy2RowSse2(y, cu, cv, d, width);
        Yuy2RowScalar(y, cu, cv, d, done, width);
    }
}

}  // namespace yuv
