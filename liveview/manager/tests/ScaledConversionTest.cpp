#include "ScaledConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "ColourConversion.h"

namespace {

// The full conversion, then the nearest-neighbour sampling a draw does.
std::vector<uint8_t> ConvertThenSample(const std::vector<uint8_t>& yuv, int width, int height,
                                       int destWidth, int destHeight) {
    std::vector<uint8_t> full(static_cast<std::size_t>(width) * height * 3);
    Yuv420ToBgr24(yuv.data(), width, height, width * 3, full.data());
    std::vector<uint8_t> sampled(static_cast<std::size_t>(destWidth) * destHeight * 3);
    for (int y = 0; y < destHeight; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / destHeight);
        for (int x = 0; x < destWidth; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * width / destWidth);
            for (int c = 0; c < 3; ++c) {
                sampled[(y * destWidth + x) * 3 + c] = full[(sy * width + sx) * 3 + c];
            }
        }
    }
    return sampled;
}

}  // namespace

TEST(ScaledConversion, EqualsTheFullConversionSampledLikeADraw) {
    std::mt19937 random(7);
    const struct {
        int width, height, destWidth, destHeight;
    } cases[] = {{352, 288, 84, 56},   {352, 240, 172, 114}, {720, 576, 41, 33},
                 {720, 288, 352, 288}, {352, 288, 352, 288}, {352, 288, 700, 560}};
    for (const auto& c : cases) {
        std::vector<uint8_t> yuv(static_cast<std::size_t>(c.width) * c.height * 3 / 2);
        for (uint8_t& byte : yuv)
            byte = static_cast<uint8_t>(random());
        std::vector<uint8_t> scaled(static_cast<std::size_t>(c.destWidth) * c.destHeight * 3);
        ConvertScaledToBgr24(scaled.data(), c.destWidth, c.destHeight, yuv.data(), c.width,
                             c.height);
        EXPECT_EQ(scaled, ConvertThenSample(yuv, c.width, c.height, c.destWidth, c.destHeight))
            << c.width << "x" << c.height << " into " << c.destWidth << "x" << c.destHeight;
    }
}

// A decoder's planes have rows longer than the picture; only the picture's pixels count.
TEST(ScaledConversion, PlanesWithPaddedRowsGiveTheSamePicture) {
    const int width = 352;
    const int height = 288;
    const int cw = width / 2;
    const int ch = height / 2;
    std::mt19937 random(11);
    std::vector<uint8_t> yuv(static_cast<std::size_t>(width) * height * 3 / 2);
    for (uint8_t& byte : yuv)
        byte = static_cast<uint8_t>(random());
    const int lumaStride = width + 32;
    const int chromaStride = cw + 16;
    // Padding bytes differ from every picture byte around them.
    std::vector<uint8_t> luma(static_cast<std::size_t>(lumaStride) * height, 0xEE);
    std::vector<uint8_t> u(static_cast<std::size_t>(chromaStride) * ch, 0x11);
    std::vector<uint8_t> v(static_cast<std::size_t>(chromaStride) * ch, 0x77);
    for (int y = 0; y < height; ++y)
        std::copy_n(&yuv[y * width], width, &luma[y * lumaStride]);
    for (int y = 0; y < ch; ++y) {
        std::copy_n(&yuv[width * height + y * cw], cw, &u[y * chromaStride]);
        std::copy_n(&yuv[width * height + cw * ch + y * cw], cw, &v[y * chromaStride]);
    }
    for (const auto& [destWidth, destHeight] : {std::pair{88, 72}, std::pair{351, 287}}) {
        std::vector<uint8_t> fromPlanes(static_cast<std::size_t>(destWidth) * destHeight * 3);
        ConvertScaledToBgr24(fromPlanes.data(), destWidth, destHeight,
                             {luma.data(), u.data(), v.data(), lumaStride, chromaStride}, width,
                             height);
        EXPECT_EQ(fromPlanes, ConvertThenSample(yuv, width, height, destWidth, destHeight))
            << destWidth << "x" << destHeight;
    }
}
