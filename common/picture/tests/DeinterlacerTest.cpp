#include <gtest/gtest.h>

#include <vector>

#include "common/picture/Deinterlacer.h"

namespace {

// A packed 4:2:2 frame whose first field fills the top half of its rows and the second field
// the bottom half.
struct Frame {
    Frame(int w, int h) : width(w), height(h), bytes(static_cast<size_t>(w) * h * 2) {}

    uint8_t* FirstRow(int k) { return bytes.data() + static_cast<size_t>(k) * 2 * width; }
    uint8_t* SecondRow(int k) { return FirstRow(k) + static_cast<size_t>(height) * width; }
    uint8_t* Row(int r) { return FirstRow(r); }
    void FillLuma(uint8_t* row, uint8_t luma) {
        for (int x = 0; x < width; ++x) {
            row[2 * x] = luma;
        }
    }
    void FillFields(uint8_t first, uint8_t second) {
        for (int k = 0; k < height / 2; ++k) {
            FillLuma(FirstRow(k), first);
            FillLuma(SecondRow(k), second);
        }
    }

    int width;
    int height;
    std::vector<uint8_t> bytes;
};

TEST(Deinterlacer, FirstFrameIsWovenAndDisabledLeavesTheFrame) {
    Frame f(40, 40);
    for (size_t i = 0; i < f.bytes.size(); ++i) {
        f.bytes[i] = static_cast<uint8_t>(i / 80);  // byte = row number
    }
    const std::vector<uint8_t> input = f.bytes;
    CDeinterlacer d;
    d.SetFrameSize(40, 40, 40);
    EXPECT_EQ(d.Process(f.bytes.data(), 40, 40, 0, 40), 0);
    EXPECT_EQ(f.bytes, input);
    EXPECT_EQ(d.Process(f.bytes.data(), 40, 40, 1, 40), 1);
    for (int k = 0; k < 20; ++k) {
        EXPECT_EQ(f.Row(2 * k)[7], k) << k;
        EXPECT_EQ(f.Row(2 * k + 1)[7], 20 + k) << k;
    }
}

TEST(Deinterlacer, RefusesFramesBeyondItsSizing) {
    CDeinterlacer unsized;
    Frame f(40, 80);
    EXPECT_EQ(unsized.Process(f.bytes.data(), 40, 80, 1, 40), -1);
    CDeinterlacer d;
    d.SetFrameSize(40, 40, 40);
    f.FillFields(1, 2);
    const std::vector<uint8_t> input = f.bytes;
    EXPECT_EQ(d.Process(f.bytes.data(), 40, 80, 1, 40), -1);
    EXPECT_EQ(d.Process(f.bytes.data(), 40, 40, 1, 20), -1);  // rows shorter than the width
    EXPECT_EQ(f.bytes, input);
    // A smaller frame fits the buffers.
    EXPECT_EQ(d.Process(f.bytes.data(), 20, 20, 1, 20), 1);
}

// Second frame over a static previous frame, with `changed` luma samples of the bottom-right
// 20 x 20 block's second field changed by more than 30.
Frame SecondFrame(CDeinterlacer& d, int changed) {
    d.SetFrameSize(40, 40, 40);
    Frame first(40, 40);
    first.FillFields(10, 200);
    d.Process(first.bytes.data(), 40, 40, 1, 40);
    Frame next(40, 40);
    next.FillFields(10, 200);
    for (int i = 0; i < changed; ++i) {
        next.SecondRow(10 + i / 20)[2 * (20 + i % 20)] = 231;
    }
    d.Process(next.bytes.data(), 40, 40, 1, 40);
    return next;
}

TEST(Deinterlacer, MotionThresholdIsNinetyOneSamples) {
    CDeinterlacer still;
    Frame woven = SecondFrame(still, 90);
    // Static: odd rows come from the previous second field.
    EXPECT_EQ(woven.Row(39)[2 * 39], 200);
    EXPECT_EQ(woven.Row(38)[2 * 39], 10);

    CDeinterlacer moving;
    Frame rebuilt = SecondFrame(moving, 91);
    // Moving: the flat first field's mean.
    EXPECT_EQ(rebuilt.Row(37)[2 * 39], 10);
    EXPECT_EQ(rebuilt.Row(21)[2 * 25], 10);
    EXPECT_EQ(rebuilt.Row(38)[2 * 39], 10);
    // The other blocks stayed static.
    EXPECT_EQ(rebuilt.Row(19)[2 * 5], 200);
}

class DeinterlacerLevels : public ::testing::Test {
protected:
    // Interpolates pixel 10 of frame row 11 from first-field rows 5 (P) and 6 (Q), whose luma
    // samples at byte offsets -10 .. 10 are given; chroma bytes are 50 + 2c in P, 150 + c in Q.
    std::pair<int, int> Interpolate(const std::vector<int>& p, const std::vector<int>& q) {
        CDeinterlacer d;
        d.SetFrameSize(40, 40, 40);
        Frame previous(40, 40);
        previous.FillFields(0, 0);
        d.Process(previous.bytes.data(), 40, 40, 1, 40);
        Frame f(40, 40);
        f.FillFields(0, 255);  // every block moves
        uint8_t* rows[2] = {f.FirstRow(5) + 20, f.FirstRow(6) + 20};
        for (int c = -9; c <= 9; c += 2) {
            rows[0][c] = static_cast<uint8_t>(50 + 2 * c);
            rows[1][c] = static_cast<uint8_t>(150 + c);
        }
        for (int i = 0; i < 11; ++i) {
            rows[0][2 * i - 10] = static_cast<uint8_t>(p[i]);
            rows[1][2 * i - 10] = static_cast<uint8_t>(q[i]);
        }
        EXPECT_EQ(d.Process(f.bytes.data(), 40, 40, 1, 40), 1);
        const uint8_t* out = f.Row(11) + 20;
        EXPECT_EQ(f.Row(10)[20], p[5]);  // even rows: the first field
        return {out[0], out[1]};
    }
};

TEST_F(DeinterlacerLevels, FlatAreaTakesTheSixSampleMean) {
    const auto [luma, chroma] =
        Interpolate({0, 0, 0, 0, 10, 12, 14, 0, 0, 0, 0}, {0, 0, 0, 0, 11, 13, 15, 0, 0, 0, 0});
    EXPECT_EQ(luma, (10 + 12 + 14 + 11 + 13 + 15) / 6);
    EXPECT_EQ(chroma, (44 + 52 + 60 + 147 + 151 + 155) / 6);
}

TEST_F(DeinterlacerLevels, SmallestLevelOneDifferenceDecides) {
    // d1 = 0, d2 = 80, d3 = 80.
    const auto [luma, chroma] = Interpolate({0, 0, 0, 0, 101, 20, 180, 0, 0, 0, 0},
                                            {0, 0, 0, 0, 100, 100, 101, 0, 0, 0, 0});
    EXPECT_EQ(luma, (101 + 101 + 1) >> 1);
    EXPECT_EQ(chroma, (44 + 151 + 1) >> 1);
}

TEST_F(DeinterlacerLevels, LevelTwoWindows) {
    // Level one: 90, 200, 200; level two's best is (+2, -2) with difference 0.
    const auto [luma, chroma] = Interpolate({0, 0, 0, 0, 90, 0, 200, 200, 200, 200, 200},
                                            {0, 0, 0, 200, 0, 200, 0, 200, 200, 200, 200});
    EXPECT_EQ(luma, (400 + 400) / 6);
    EXPECT_EQ(chroma, (52 + 147 + 1) >> 1);
}

TEST_F(DeinterlacerLevels, LevelThreeWindows) {
    // Level one all 255, level two at least 255; level three's first best is (0, +8).
    const auto [luma, chroma] = Interpolate({0, 0, 0, 0, 0, 0, 255, 0, 0, 255, 0},
                                            {255, 255, 255, 255, 0, 255, 255, 255, 0, 255, 0});
    EXPECT_EQ(luma, (255 + 255) / 6);
    EXPECT_EQ(chroma, (52 + 159 + 1) >> 1);
}

TEST(Deinterlacer, BlockSizesAndPixelsBeyondWholeBlocks) {
    const int w = 704;
    const int h = 576;
    CDeinterlacer d;
    EXPECT_EQ(d.BlockWidth(), 0);
    d.SetFrameSize(720, 576, 720);
    EXPECT_EQ(d.BlockWidth(), 144);
    EXPECT_EQ(d.BlockHeight(), 144);
    d.SetFrameSize(176, 144, 176);
    EXPECT_EQ(d.BlockWidth(), 22);
    EXPECT_EQ(d.BlockHeight(), 24);
    d.SetFrameSize(w, h, w);  // not in the table: 20 x 20 blocks, 35 x 28 of them
    EXPECT_EQ(d.BlockWidth(), 20);
    EXPECT_EQ(d.BlockHeight(), 20);
    Frame first(w, h);
    first.FillFields(0, 0);
    d.Process(first.bytes.data(), w, h, 1, w);
    Frame next(w, h);
    for (size_t i = 0; i < next.bytes.size(); ++i) {
        next.bytes[i] = static_cast<uint8_t>((i * 37) >> 3);
    }
    const std::vector<uint8_t> input = next.bytes;
    ASSERT_EQ(d.Process(next.bytes.data(), w, h, 1, w), 1);
    const size_t pitch = 2 * w;
    for (int row = 0; row < h; ++row) {
        for (size_t byte = 2 * 700; byte < pitch; ++byte) {
            ASSERT_EQ(next.bytes[row * pitch + byte], input[row * pitch + byte]) << row;
        }
    }
    for (size_t i = 560 * pitch; i < next.bytes.size(); ++i) {
        ASSERT_EQ(next.bytes[i], input[i]) << i;
    }
    EXPECT_NE(next.bytes, input);
}

}  // namespace
