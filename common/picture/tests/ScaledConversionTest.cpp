#include "common/picture/tests/ScaledConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <utility>
#include <vector>

#include "common/picture/ColourConversion.h"

namespace {

// The full conversion, then the nearest-neighbour sampling a draw does.
std::vector<uint8_t> ConvertThenSample(const std::vector<uint8_t>& yuv, int width, int height,
                                       int dest_width, int dest_height) {
    std::vector<uint8_t> full(static_cast<std::size_t>(width) * height * 3);
    Yuv420ToBgr24(yuv.data(), width, height, width * 3, full.data());
    std::vector<uint8_t> sampled(static_cast<std::size_t>(dest_width) * dest_height * 3);
    for (int y = 0; y < dest_height; ++y) {
        const int sy = static_cast<int>(static_cast<int64_t>(y) * height / dest_height);
        for (int x = 0; x < dest_width; ++x) {
            const int sx = static_cast<int>(static_cast<int64_t>(x) * width / dest_width);
            for (int c = 0; c < 3; ++c) {
                sampled[(y * dest_width + x) * 3 + c] = full[(sy * width + sx) * 3 + c];
            }
        }
    }
    return sampled;
}

}  // namespace

TEST(ScaledConversion, EqualsTheFullConversionSampledLikeADraw) {
    std::mt19937 random(7);
    const struct {
        int width, height, dest_width, dest_height;
    } cases[] = {{352, 288, 84, 56},   {352, 240, 172, 114}, {720, 576, 41, 33},
                 {720, 288, 352, 288}, {352, 288, 352, 288}, {352, 288, 700, 560}};
    for (const auto& c : cases) {
        std::vector<uint8_t> yuv(static_cast<std::size_t>(c.width) * c.height * 3 / 2);
        for (uint8_t& byte : yuv)
            byte = static_cast<uint8_t>(random());
        std::vector<uint8_t> scaled(static_cast<std::size_t>(c.dest_width) * c.dest_height * 3);
        ConvertScaledToBgr24(scaled.data(), c.dest_width, c.dest_height, yuv.data(), c.width,
                             c.height);
        EXPECT_EQ(scaled, ConvertThenSample(yuv, c.width, c.height, c.dest_width, c.dest_height))
            << c.width << "x" << c.height << " into " << c.dest_width << "x" << c.dest_height;
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
    const int luma_stride = width + 32;
    const int chroma_stride = cw + 16;
    // Padding bytes differ from every picture byte around them.
    std::vector<uint8_t> luma(static_cast<std::size_t>(luma_stride) * height, 0xEE);
    std::vector<uint8_t> u(static_cast<std::size_t>(chroma_stride) * ch, 0x11);
    std::vector<uint8_t> v(static_cast<std::size_t>(chroma_stride) * ch, 0x77);
    for (int y = 0; y < height; ++y)
        std::copy_n(&yuv[y * width], width, &luma[y * luma_stride]);
    for (int y = 0; y < ch; ++y) {
        std::copy_n(&yuv[width * height + y * cw], cw, &u[y * chroma_stride]);
        std::copy_n(&yuv[width * height + cw * ch + y * cw], cw, &v[y * chroma_stride]);
    }
    for (const auto& [dest_width, dest_height] : {std::pair{88, 72}, std::pair{351, 287}}) {
        std::vector<uint8_t> from_planes(static_cast<std::size_t>(dest_width) * dest_height * 3);
        ConvertScaledToBgr24(from_planes.data(), dest_width, dest_height,
                             {luma.data(), u.data(), v.data(), luma_stride, chroma_stride}, width,
                             height);
        EXPECT_EQ(from_planes, ConvertThenSample(yuv, width, height, dest_width, dest_height))
            << dest_width << "x" << dest_height;
    }
}
