#include "liveview/core/streaming/StreamMasks.h"

#include <gtest/gtest.h>

#include "liveview/core/streaming/StreamPlan.h"

namespace {

constexpr int kLinkLoggedIn = 1;
constexpr int kLinkStreaming = 2;

VisibleCells Cells(std::initializer_list<int> cells) {
    VisibleCells visible;
    for (int cell : cells)
        visible.set(cell);
    return visible;
}

VisibleCells FirstCells(int count) {
    VisibleCells visible;
    for (int cell = 0; cell < count; ++cell)
        visible.set(cell);
    return visible;
}

}  // namespace

TEST(StreamMasks, CellsAbove32RepeatTheBitsOfEarlierCells) {
    EXPECT_EQ(VisibleCellMask(FirstCells(16)), 0xffffu);
    EXPECT_EQ(VisibleCellMask(FirstCells(64)), VisibleCellMask(FirstCells(32)));
    EXPECT_EQ(VisibleCellMask(FirstCells(32)), 0xffffffffu);
    EXPECT_EQ(VisibleCellMask(Cells({37})), 1u << 5);
    EXPECT_EQ(VisibleCellMask(Cells({255})), 1u << 31);
    EXPECT_EQ(VisibleCellMask({}), 0u);
}

TEST(StreamMasks, MappedMasksTakeVisibleAssignedCellsOnly) {
    CWindowMap map;
    map.SetWindowChannel(0, MakeChannelKey(0, 3));
    map.SetWindowChannel(1, MakeChannelKey(2, 0));
    map.SetWindowChannel(2, MakeChannelKey(2, 15));
    map.SetWindowChannel(5, MakeChannelKey(63, 1));
    map.SetWindowChannel(9, MakeChannelKey(1, 4));  // assigned but not visible
    const auto masks = MappedMasks(Cells({0, 1, 2, 3, 5}), map);
    EXPECT_EQ(masks[0], 1u << 3);
    EXPECT_EQ(masks[1], 0u);
    EXPECT_EQ(masks[2], (1u << 0) | (1u << 15));
    EXPECT_EQ(masks[63], 1u << 1);
}

TEST(StreamMasks, MappedMasksIgnoreKeysOfNoSlot) {
    CWindowMap map;
    map.SetWindowChannel(0, MakeChannelKey(64, 1));
    map.SetWindowChannel(1, 2147483647);
    map.SetWindowChannel(2, -7);
    const auto masks = MappedMasks(FirstCells(4), map);
    for (uint32_t mask : masks)
        EXPECT_EQ(mask, 0u);
}

TEST(StreamPlan, CurrentDeviceStreamsTheVisibleCells) {
    EXPECT_EQ(PlanCurrentView(kLinkStreaming, false, 0xf, 0xffff, 0xf),
              (StreamPlan{.stop = true, .play = true, .key_frame = true, .mask = 0xf}));
    EXPECT_EQ(PlanCurrentView(kLinkLoggedIn, false, 0x1, 0xffff, 0),
              (StreamPlan{.stop = false, .play = true, .key_frame = true, .mask = 0x1}));
    EXPECT_EQ(PlanCurrentView(kLinkLoggedIn, true, 0x0, 0xffff, 0),
              (StreamPlan{.stop = false, .play = true, .key_frame = true, .mask = 0x0}));
    for (int state : {0, 3}) {
        EXPECT_EQ(PlanCurrentView(state, false, 0xf, 0xffff, 0), (StreamPlan{.key_frame = true}));
    }
}

TEST(StreamPlan, RecordingCurrentDeviceAddsItsChannelsAndRestartsOnlyOnChange) {
    const uint32_t cell5 = VisibleCellMask(Cells({5}));
    const StreamPlan first = PlanCurrentView(kLinkStreaming, true, cell5, 0x3, 0xffff);
    EXPECT_EQ(first, (StreamPlan{.stop = true, .play = true, .key_frame = true, .mask = 0x23}));
    EXPECT_EQ(PlanCurrentView(kLinkStreaming, true, cell5, 0x3, first.mask), StreamPlan{});
}

TEST(StreamPlan, HiddenDeviceStopsUnlessItRecords) {
    EXPECT_EQ(PlanHiddenView(kLinkStreaming, false), (StreamPlan{.stop = true}));
    EXPECT_EQ(PlanHiddenView(kLinkStreaming, true), StreamPlan{});
    for (int state : {0, 1, 3})
        EXPECT_EQ(PlanHiddenView(state, false), StreamPlan{});
}

TEST(StreamPlan, MappedDeviceStartsOnlyWithACell) {
    EXPECT_EQ(PlanMappedView(kLinkLoggedIn, false, 0, 0xffff, 0), StreamPlan{});
    EXPECT_EQ(PlanMappedView(kLinkLoggedIn, false, 0x4, 0xffff, 0),
              (StreamPlan{.stop = false, .play = true, .key_frame = true, .mask = 0x4}));
    // A streaming device with no cell left is narrowed to nothing.
    EXPECT_EQ(PlanMappedView(kLinkStreaming, false, 0, 0xffff, 0xff),
              (StreamPlan{.stop = true, .play = true, .key_frame = true, .mask = 0}));
    EXPECT_EQ(PlanMappedView(kLinkStreaming, true, 0x4, 0x3, 0x7), StreamPlan{});
    EXPECT_EQ(PlanMappedView(kLinkStreaming, true, 0x8, 0x3, 0x7),
              (StreamPlan{.stop = true, .play = true, .key_frame = true, .mask = 0xb}));
    for (int state : {0, 3})
        EXPECT_EQ(PlanMappedView(state, false, 0x4, 0xffff, 0), StreamPlan{});
}
