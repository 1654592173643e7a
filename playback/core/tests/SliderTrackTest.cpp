// The image slider's track: positions, pixels, drag and keys.
#include <gtest/gtest.h>

#include "playback/core/window/SliderTrack.h"

namespace {

// The playback window's play slider: 703 pixels, a thumb 25 wide, one position a minute.
CSliderTrack PlaySlider(int position = 0) {
    CSliderTrack track;
    track.SetChannelWidth(703);
    track.SetThumbWidth(25);
    track.SetRange(0, 1440);
    track.SetPos(position);
    return track;
}

const SliderPost Moving(int position) { return {WM_IMAGESLIDER_MOVING, position}; }
const SliderPost Changed(int position) { return {WM_IMAGESLIDER_CHANGED, position}; }

}  // namespace

TEST(SliderTrack, PositionsAreClampedAndMappedToTheThumbCentre) {
    const std::pair<int, int> clamped[] = {{2000, 1440}, {-5, 0}, {700, 700}};
    for (auto [asked, kept] : clamped)
        EXPECT_EQ(PlaySlider(asked).GetPos(), kept);

    const CSliderTrack track = PlaySlider();
    const std::pair<int, int> pixels[] = {{0, 12}, {720, 351}, {1440, 690}, {600, 294}};
    for (auto [position, pixel] : pixels) {
        EXPECT_EQ(track.PositionToPixel(position), pixel) << position;
    }
    EXPECT_EQ(track.PixelToPosition(351), 720);

    // The range is changed without bringing the position back into it.
    CSliderTrack narrowed = PlaySlider(1000);
    narrowed.SetRange(0, 100);
    EXPECT_EQ(narrowed.GetPos(), 1000);

    // No track or no range: no division by zero.
    CSliderTrack empty;
    empty.SetRange(3, 3);
    EXPECT_EQ(empty.PositionToPixel(3), 0);
    EXPECT_EQ(empty.PixelToPosition(40), 3);
}

TEST(SliderTrack, KeysMoveAndPostChanged) {
    struct Case {
        int from;
        SliderKey key;
        int to;
    };
    const Case cases[] = {
        {10, SliderKey::kPageUp, 0},     {10, SliderKey::kPageDown, 30},
        {10, SliderKey::kEnd, 1440},     {10, SliderKey::kHome, 0},
        {10, SliderKey::kLeft, 9},       {10, SliderKey::kUp, 9},
        {10, SliderKey::kRight, 11},     {10, SliderKey::kDown, 11},
        {1440, SliderKey::kRight, 1440}, {0, SliderKey::kLeft, 0},
    };
    for (const Case& c : cases) {
        CSliderTrack track = PlaySlider(c.from);
        EXPECT_EQ(track.KeyDown(c.key), Changed(c.to)) << c.from << " " << static_cast<int>(c.key);
        EXPECT_EQ(track.GetPos(), c.to);
    }
}

TEST(SliderTrack, DragMovesTheThumbAndReportsOnRelease) {
    CSliderTrack track = PlaySlider(0);
    // 200 pixels from the thumb: its centre jumps to the pointer before any move.
    EXPECT_EQ(track.LButtonDown(212), Moving(track.PixelToPosition(212)));
    EXPECT_TRUE(track.Dragging());
    EXPECT_NEAR(track.PositionToPixel(track.GetPos()), 212, 1);
    // Beyond either end the thumb stays at the end and the position at the maximum.
    EXPECT_EQ(track.MouseMove(900), Moving(1440));
    EXPECT_EQ(track.MouseMove(950), Moving(1440));
    EXPECT_EQ(track.MouseMove(-40), Moving(0));
    EXPECT_EQ(track.LButtonUp(), Changed(0));
    EXPECT_FALSE(track.Dragging());
    EXPECT_EQ(track.MouseMove(300), std::nullopt);  // not dragging

    // On the thumb: it keeps its place under the pointer until the pointer moves a pixel.
    track.SetPos(720);
    EXPECT_EQ(track.LButtonDown(351 + 10), std::nullopt);
    EXPECT_EQ(track.GetPos(), 720);
    EXPECT_EQ(track.MouseMove(351 + 10 + 339), Moving(1440));
    EXPECT_EQ(track.LButtonUp(), Changed(1440));

    // Disabled: no input, no posts.
    track.SetEnabled(false);
    EXPECT_EQ(track.LButtonDown(12), std::nullopt);
    EXPECT_EQ(track.KeyDown(SliderKey::kHome), std::nullopt);
    EXPECT_EQ(track.LButtonUp(), std::nullopt);
    EXPECT_EQ(track.GetPos(), 1440);
}
