#include "common/picture/tests/ScaledConversion.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "common/picture/PictureFormat.h"
#include "common/picture/YuvKernels.h"
#include "platform/surface/RowGather.h"

namespace {

constexpr int kWideStep = 32;  // pixels per step of the AVX2 row kernel

// The gathers and row buffers for one size pair, kept per thread for the last pair: every
// cell of a layout has the same size, so they are planned once.
struct ScaledRows {
    int width = -1;
    int dest_width = -1;
    RowGather luma;
    RowGather chroma;
    // Rounded up to the wide kernel's step; what the padding holds is converted, never drawn.
    std::vector<uint8_t> y, u, v;
};

ScaledRows& RowsFor(int width, int dest_width) {
    thread_local ScaledRows rows;
    if (rows.width != width || rows.dest_width != dest_width) {
        std::vector<int> luma_columns(static_cast<std::size_t>(dest_width));
        std::vector<int> chroma_columns(luma_columns.size());
        for (int x = 0; x < dest_width; ++x) {
            luma_columns[x] = static_cast<int>(static_cast<int64_t>(x) * width / dest_width);
            chroma_columns[x] = luma_columns[x] >> 1;
        }
        rows.luma.Build(std::move(luma_columns), width);
        rows.chroma.Build(std::move(chroma_columns), (width + 1) / 2);
        const std::size_t padded = (dest_width + kWideStep - 1) / kWideStep * kWideStep;
        rows.y.assign(padded, 0);
        rows.u.assign(padded, 0);
        rows.v.assign(padded, 0);
        rows.width = width;
        rows.dest_width = dest_width;
    }
    return rows;
}

}  // namespace

void ConvertScaledToBgr24(uint8_t* destination, int dest_width, int dest_height,
                          const uint8_t* source, int width, int height) {
    const int chroma_width = (width + 1) / 2;
    const uint8_t* u = source + static_cast<long>(width) * height;
    const uint8_t* v = u + static_cast<long>(chroma_width) * ((height + 1) / 2);
    ConvertScaledToBgr24(destination, dest_width, dest_height, {source, u, v, width, chroma_width},
                         width, height);
}

void ConvertScaledToBgr24(uint8_t* destination, int dest_width, int dest_height,
                          const YuvPlanes& source, int width, int height) {
    if (dest_width <= 0 || dest_height <= 0 || width <= 0 || height <= 0) return;
    const bool wide = yuv::BestKernel() == yuv::Kernel::kAvx2;
    ScaledRows& rows = RowsFor(width, dest_width);
    uint8_t* luma = rows.y.data();
    uint8_t* cu = rows.u.data();
    uint8_t* cv = rows.v.data();
    for (int y = 0; y < dest_height; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / dest_height);
        // The kept pixels of a row are gathered with their own chroma, then converted as one row.
        rows.luma.Gather(source.luma + static_cast<long>(sy) * source.luma_stride, luma);
        rows.chroma.Gather(source.u + static_cast<long>(sy / 2) * source.chroma_stride, cu);
        rows.chroma.Gather(source.v + static_cast<long>(sy / 2) * source.chroma_stride, cv);
        uint8_t* row = destination + static_cast<long>(y) * dest_width * 3;
        if (!wide) {
            yuv::Bgr24Row444Scalar(luma, cu, cv, row, 0, dest_width);
            continue;
        }
        const int done = yuv::Bgr24Row444Avx2(luma, cu, cv, row, dest_width);
        if (done == dest_width) continue;
        // The last pixels go through the wide kernel too, into a local row of its step.
        uint8_t tail[kWideStep * 3];
        yuv::Bgr24Row444Avx2(luma + done, cu + done, cv + done, tail, kWideStep);
        std::memcpy(row + 3 * done, tail, static_cast<std::size_t>(dest_width - done) * 3);
    }
}

bool ConvertDecodedScaled(uint8_t* destination, int dest_width, int dest_height,
                          const DecodedPicture& picture, int format_code) {
    int width = 0;
    int height = 0;
    if (!FormatPictureSize(format_code, width, height) || picture.width < width ||
        picture.height < height || picture.luma == nullptr || picture.u == nullptr ||
        picture.v == nullptr || picture.u_stride != picture.v_stride) {
        return false;
    }
    ConvertScaledToBgr24(
        destination, dest_width, dest_height,
        {picture.luma, picture.u, picture.v, picture.luma_stride, picture.u_stride}, width, height);
    return true;
}
