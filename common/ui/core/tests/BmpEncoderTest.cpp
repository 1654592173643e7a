#include <gtest/gtest.h>

#include <vector>

#include "common/ui/core/BmpEncoder.h"

namespace {

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (std::uint32_t{b[at + 3]} << 24);
}

std::uint32_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return b[at] | (b[at + 1] << 8);
}

}  // namespace

TEST(BmpEncoderTest, ThirtyTwoBitFileHeadersForA750By592Window) {
    std::vector<std::uint32_t> pixels(750 * 592, 0x00102030);
    const auto file = EncodeBmp(pixels.data(), 750, 592, 750, 32);
    ASSERT_EQ(file.size(), 54u + 1776000u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 2), 54u + 1776000u);
    EXPECT_EQ(U32(file, 6), 0u);
    EXPECT_EQ(U32(file, 10), 54u);
    EXPECT_EQ(U32(file, 14), 40u);
    EXPECT_EQ(U32(file, 18), 750u);
    EXPECT_EQ(U32(file, 22), 592u);
    EXPECT_EQ(U16(file, 26), 1u);
    EXPECT_EQ(U16(file, 28), 32u);
    EXPECT_EQ(U32(file, 30), 0u);
    EXPECT_EQ(U32(file, 34), 1776000u);
    for (std::size_t at = 38; at < 54; ++at)
        EXPECT_EQ(file[at], 0) << at;
    EXPECT_EQ(U32(file, 54), 0x00102030u);  // blue, green, red, 0
}

TEST(BmpEncoderTest, RowsAreBottomUpAndPaddedToFourBytes) {
    // 3 x 2: top row red, green, blue; bottom row white, black, grey.
    const std::vector<std::uint32_t> pixels = {0xFF0000, 0x00FF00, 0x0000FF,
                                               0xFFFFFF, 0x000000, 0x808080};
    const auto file = EncodeBmp(pixels.data(), 3, 2, 3, 24);
    ASSERT_EQ(BmpRowBytes(3, 24), 12u);
    ASSERT_EQ(file.size(), 54u + 24u);
    EXPECT_EQ(U32(file, 34), 24u);
    const std::vector<std::uint8_t> bottom(file.begin() + 54, file.begin() + 66);
    const std::vector<std::uint8_t> top(file.begin() + 66, file.end());
    EXPECT_EQ(bottom, (std::vector<std::uint8_t>{255, 255, 255, 0, 0, 0, 128, 128, 128, 0, 0, 0}));
    EXPECT_EQ(top, (std::vector<std::uint8_t>{0, 0, 255, 0, 255, 0, 255, 0, 0, 0, 0, 0}));
}

TEST(BmpEncoderTest, SixteenBitRowsAreFiveFiveFiveAndPadded) {
    EXPECT_EQ(BmpRowBytes(751, 16), 1504u);
    std::vector<std::uint32_t> pixels(751 * 2, 0xFF8040);
    const auto file = EncodeBmp(pixels.data(), 751, 2, 751, 16);
    ASSERT_EQ(file.size(), 54u + 2 * 1504u);
    EXPECT_EQ(U16(file, 28), 16u);
    EXPECT_EQ(U16(file, 54), (31u << 10) | (16u << 5) | 8u);
    EXPECT_EQ(U16(file, 54 + 1502), 0u);  // padding
}

TEST(BmpEncoderTest, DepthsMapToTheFormatsWritten) {
    EXPECT_EQ(SnapshotBitsPerPixel(32), 32);
    EXPECT_EQ(SnapshotBitsPerPixel(24), 24);
    EXPECT_EQ(SnapshotBitsPerPixel(16), 16);
    EXPECT_EQ(SnapshotBitsPerPixel(15), 16);
    EXPECT_EQ(SnapshotBitsPerPixel(30), 32);
    const std::uint32_t pixel = 0;
    EXPECT_TRUE(EncodeBmp(&pixel, 1, 1, 1, 8).empty());
    EXPECT_TRUE(EncodeBmp(&pixel, 0, 1, 1, 32).empty());
    EXPECT_TRUE(EncodeBmp(nullptr, 1, 1, 1, 32).empty());
}
