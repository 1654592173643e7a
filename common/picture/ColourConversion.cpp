#include "common/picture/ColourConversion.h"

#include <cstring>

extern "C" {
#include <libavutil/frame.h>
}

#include "common/picture/H264Decoder.h"
#include "common/picture/PictureFormat.h"
#include "common/picture/YuvKernels.h"

namespace {

struct Planes {
    const uint8_t* luma;
    const uint8_t* u;
    const uint8_t* v;
};

Planes SplitPicture(const uint8_t* source, int width, int height) {
    const long luma_bytes = static_cast<long>(width) * height;
    const long chroma_bytes = static_cast<long>((width + 1) / 2) * ((height + 1) / 2);
    return {source, source + luma_bytes, source + luma_bytes + chroma_bytes};
}

void CopyPlane(const uint8_t* from, int line_size, uint8_t* to, int width, int height) {
    for (int row = 0; row < height; ++row) {
        std::memcpy(to + static_cast<long>(row) * width, from + static_cast<long>(row) * line_size,
                    width);
    }
}

}  // namespace

void Yuv420ToBgr24(const uint8_t* source, int width, int height, int pitch_bytes,
                   uint8_t* destination) {
    if (width <= 0 || height <= 0) {
        return;
    }
    const Planes p = SplitPicture(source, width, height);
    yuv::Bgr24Picture(yuv::BestKernel(), p.luma, p.u, p.v, width, height, pitch_bytes, destination);
}

int ConvertToBgr24(uint8_t* destination, const uint8_t* source, int format_code) {
    int width = 0;
    int height = 0;
    if (FormatPictureSize(format_code, width, height)) {
        Yuv420ToBgr24(source, width, height, width * 3, destination);
    }
    return 0;
}

void Yuv420ToYuy2(const uint8_t* luma, const uint8_t* u, const uint8_t* v, uint8_t* destination,
                  int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    yuv::Yuy2Picture(yuv::BestKernel(), luma, u, v, destination, width, height);
}

int ConvertToYuy2(uint8_t* destination, const uint8_t* source, int format_code) {
    int width = 0;
    int height = 0;
    if (FormatPictureSize(format_code, width, height)) {
        const Planes p = SplitPicture(source, width, height);
        Yuv420ToYuy2(p.luma, p.u, p.v, destination, width, height);
    }
    return 0;
}

int CopyDecodedPlanes(const DecodedPicture& picture, uint8_t* destination, int format_code) {
    int width = 0;
    int height = 0;
    if (!FormatPictureSize(format_code, width, height)) {
        return 0;
    }
    if (!Covers(picture, width, height)) return 0;
    const long luma_bytes = static_cast<long>(width) * height;
    if (picture.luma == destination && picture.luma_stride == width &&
        picture.u == destination + luma_bytes && picture.u_stride == width / 2 &&
        picture.v == destination + luma_bytes * 5 / 4 && picture.v_stride == width / 2) {
        return 1;
    }
    CopyPlane(picture.luma, picture.luma_stride, destination, width, height);
    CopyPlane(picture.u, picture.u_stride, destination + luma_bytes, width / 2, height / 2);
    CopyPlane(picture.v, picture.v_stride, destination + luma_bytes * 5 / 4, width / 2, height / 2);
    return 1;
}

int CopyDecodedPlanes(const AVFrame* picture, uint8_t* destination, int format_code) {
    if (picture == nullptr) return 0;
    return CopyDecodedPlanes(CH264Decoder::DecodedPictureOf(picture), destination, format_code);
}
