#include <gtest/gtest.h>

#include <vector>

extern "C" {
#include <libavutil/frame.h>
}

#include "common/picture/ColourConversion.h"
#include "common/picture/PictureFormat.h"

namespace {

// A contiguous w x h picture of one colour.
std::vector<uint8_t> Flat(int w, int h, uint8_t y, uint8_t u, uint8_t v) {
    std::vector<uint8_t> picture(static_cast<size_t>(w) * h * 3 / 2);
    std::fill(picture.begin(), picture.begin() + w * h, y);
    std::fill(picture.begin() + w * h, picture.begin() + w * h * 5 / 4, u);
    std::fill(picture.begin() + w * h * 5 / 4, picture.end(), v);
    return picture;
}

std::vector<uint8_t> Bgr(int w, int h, uint8_t y, uint8_t u, uint8_t v) {
    const std::vector<uint8_t> source = Flat(w, h, y, u, v);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    Yuv420ToBgr24(source.data(), w, h, w * 3, out.data());
    return {out.begin(), out.begin() + 3};
}

TEST(Bgr24, ConvertsByTheFixedPointRuleAndClampsEachChannel) {
    EXPECT_EQ(Bgr(2, 2, 100, 200, 50), (std::vector<uint8_t>{224, 130, 0}));
    EXPECT_EQ(Bgr(2, 2, 255, 128, 128), (std::vector<uint8_t>{255, 255, 255}));
    EXPECT_EQ(Bgr(2, 2, 0, 128, 128), (std::vector<uint8_t>{0, 0, 0}));
    // R = 255 + 174 clamps; G = 255 - 0 - 89.
    EXPECT_EQ(Bgr(2, 2, 255, 128, 255), (std::vector<uint8_t>{255, 166, 255}));
    // The same through the wide kernel's part of a row.
    EXPECT_EQ(Bgr(64, 2, 100, 200, 50), (std::vector<uint8_t>{224, 130, 0}));
}

TEST(Bgr24, RowPairsShareChromaAndPitchIsKept) {
    const int w = 4;
    const int h = 4;
    std::vector<uint8_t> source = Flat(w, h, 128, 128, 128);
    source[w * h + 2] = 255;  // U of chroma row 1 (rows 2 and 3), column 0
    const int pitch = w * 3 + 4;
    std::vector<uint8_t> out(static_cast<size_t>(pitch) * h, 0xEE);
    Yuv420ToBgr24(source.data(), w, h, pitch, out.data());
    for (int row = 0; row < h; ++row) {
        const uint8_t blue = out[static_cast<size_t>(row) * pitch];
        EXPECT_EQ(blue, row < 2 ? 128 : 255) << row;
        EXPECT_EQ(out[static_cast<size_t>(row) * pitch + w * 3], 0xEE) << "padding " << row;
    }
}

TEST(Bgr24, FormatCodesSizeTheConversion) {
    const int expected[6][2] = {{720, 576}, {720, 288}, {352, 288},
                                {720, 480}, {720, 240}, {352, 240}};
    for (int code = 0; code < 6; ++code) {
        int w = 0;
        int h = 0;
        ASSERT_TRUE(FormatPictureSize(code, w, h));
        ASSERT_EQ(w, expected[code][0]) << code;
        ASSERT_EQ(h, expected[code][1]) << code;
        const std::vector<uint8_t> source = Flat(w, h, 255, 128, 128);
        std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3 + 16, 7);
        EXPECT_EQ(ConvertToBgr24(out.data(), source.data(), code), 0);
        EXPECT_EQ(out[static_cast<size_t>(w) * h * 3 - 1], 255) << code;  // rows of w x 3 bytes
        EXPECT_EQ(out[static_cast<size_t>(w) * h * 3], 7) << code;
    }
    int w = 0;
    int h = 0;
    EXPECT_FALSE(FormatPictureSize(-1, w, h));
    std::vector<uint8_t> out(16, 7);
    const std::vector<uint8_t> source = Flat(2, 2, 0, 0, 0);
    EXPECT_EQ(ConvertToBgr24(out.data(), source.data(), -1), 0);
    EXPECT_EQ(ConvertToYuy2(out.data(), source.data(), -3), 0);
    EXPECT_EQ(out, std::vector<uint8_t>(16, 7));
}

TEST(Yuy2, PairsAndOddLastPixel) {
    const uint8_t luma[] = {1, 2, 3, 4, 5, 6};  // 3 x 2
    const uint8_t u[] = {10, 11};
    const uint8_t v[] = {20, 21};
    std::vector<uint8_t> out(2 * 3 * 2 + 1, 0xEE);
    Yuv420ToYuy2(luma, u, v, out.data(), 3, 2);
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 10, 2, 20, 3, 11, 4, 10, 5, 20, 6, 11, 0xEE}));
}

TEST(CopyDecodedPlanes, CopiesPlanesByLineSize) {
    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = 352;
    frame->height = 288;
    ASSERT_EQ(av_frame_get_buffer(frame, 64), 0);
    for (int plane = 0; plane < 3; ++plane) {
        const int rows = plane == 0 ? 288 : 144;
        for (int y = 0; y < rows; ++y) {
            std::fill(frame->data[plane] + y * frame->linesize[plane],
                      frame->data[plane] + (y + 1) * frame->linesize[plane],
                      static_cast<uint8_t>(plane * 100 + y % 50));
        }
    }
    std::vector<uint8_t> out(352 * 288 * 3 / 2);
    EXPECT_EQ(CopyDecodedPlanes(frame, out.data(), 2), 1);
    EXPECT_EQ(out[352 * 5], 5);
    EXPECT_EQ(out[352 * 288 + 176 * 7], 107);
    EXPECT_EQ(out[352 * 288 * 5 / 4 + 176 * 143], 243);
    EXPECT_EQ(out.back(), 243);

    EXPECT_EQ(CopyDecodedPlanes(frame, out.data(), -1), 0);
    // A D1 header over a CIF picture would read past its planes.
    std::fill(out.begin(), out.end(), 0);
    EXPECT_EQ(CopyDecodedPlanes(frame, out.data(), 0), 0);
    EXPECT_EQ(out[0], 0);
    av_frame_free(&frame);
}

}  // namespace
