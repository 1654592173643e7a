#include "DvrList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

_MAP_POINT_ PlacedPoint(int32_t x) {
    _MAP_POINT_ point;
    point.nPlaced = 1;
    point.nD2 = 7;
    point.nX = x;
    point.nY = x + 1;
    return point;
}

CDvrList ThreeDevices() {
    CDvrList list;
    for (int i = 0; i < 3; ++i) {
        const std::string n = std::to_string(i);
        EXPECT_EQ(
            list.AddDvr("10.0.0." + n + ":6802", "680" + n, "user" + n, "pass" + n, "dvr" + n), 1);
    }
    return list;
}

}  // namespace

TEST(DvrList, AddGivesTheDefaultsAndTheListHoldsAtMost64) {
    CDvrList list;
    EXPECT_EQ(list.AddDvr("host:6802", "6802", "admin", "secret", "Front"), 1);
    const _DVR_ENTRY_& entry = list.Entry(0);
    EXPECT_EQ(entry.settings.address, "host:6802");
    EXPECT_EQ(entry.settings.showName, "Front");
    EXPECT_EQ(entry.settings.inUse, 1);
    EXPECT_EQ(entry.settings.channelMask, 0xffff);
    EXPECT_EQ(entry.settings.frameRateIndex, 2);
    EXPECT_EQ(entry.settings.qualityIndex, 2);
    EXPECT_EQ(entry.settings.sendAudio, 0);
    EXPECT_EQ(entry.settings.autoConnect, 0);
    for (const _MAP_POINT_& point : entry.mapPoints) {
        EXPECT_EQ(point, (_MAP_POINT_{0, 1, 0, 0, 0, 0, 0, 0}));
    }

    for (int i = 1; i < CDvrList::kMaxDvrs; ++i)
        ASSERT_EQ(list.AddDvr("h:1", "", "", "", ""), 1);
    EXPECT_EQ(list.GetDvrCount(), 64);
    EXPECT_EQ(list.AddDvr("h:2", "", "", "", ""), -1);
    EXPECT_EQ(list.GetDvrCount(), 64);
}

TEST(DvrList, AddAfterDeleteStartsFromDefaultsWhateverTheSlotHeld) {
    CDvrList list = ThreeDevices();
    _DVR_ENTRY_ placed = list.Entry(2);
    placed.settings.autoConnect = 1;
    placed.mapPoints[3] = PlacedPoint(40);
    ASSERT_EQ(list.DeleteDvr(2), 1);
    ASSERT_EQ(list.AddDvrEntry(placed), 1);
    ASSERT_EQ(list.DeleteDvr(2), 1);
    ASSERT_EQ(list.AddDvr("new:1", "1", "u", "p", "new"), 1);
    EXPECT_EQ(list.Entry(2).settings.autoConnect, 0);
    EXPECT_EQ(list.Entry(2).mapPoints[3], _MAP_POINT_{});
}

TEST(DvrList, DeleteMovesLaterDevicesDownWithAllTheirSettings) {
    CDvrList list = ThreeDevices();
    _DVR_SETTINGS_ second;
    ASSERT_EQ(list.GetDvr(1, second), 1);
    second.autoConnect = 1;
    second.channelMask = 0x5;
    second.qualityIndex = 0;
    ASSERT_EQ(list.UpdateDvr(1, second), 1);
    _DVR_ENTRY_ third = list.Entry(2);
    third.mapPoints[15] = PlacedPoint(9);
    ASSERT_EQ(list.DeleteDvr(2), 1);
    ASSERT_EQ(list.AddDvrEntry(third), 1);
    const _DVR_ENTRY_ moved_second = list.Entry(1);
    const _DVR_ENTRY_ moved_third = list.Entry(2);

    EXPECT_EQ(list.DeleteDvr(0), 1);
    EXPECT_EQ(list.GetDvrCount(), 2);
    EXPECT_EQ(list.Entry(0), moved_second);
    EXPECT_EQ(list.Entry(0).settings.autoConnect, 1);
    EXPECT_EQ(list.Entry(1), moved_third);
    EXPECT_EQ(list.Entry(1).mapPoints[15], PlacedPoint(9));
    EXPECT_EQ(list.Entry(2), _DVR_ENTRY_{});
    EXPECT_EQ(list.Entry(63).settings.inUse, 0);

    _DVR_SETTINGS_ out;
    EXPECT_EQ(list.GetDvr(2, out), -1);
    EXPECT_EQ(list.GetDvr(1, out), 1);
    EXPECT_EQ(out.address, "10.0.0.2:6802");
}

TEST(DvrList, DeleteTheLastOfAFullListEmptiesSlot63) {
    CDvrList list;
    for (int i = 0; i < CDvrList::kMaxDvrs; ++i)
        ASSERT_EQ(list.AddDvr("h:1", "", "", "", ""), 1);
    EXPECT_EQ(list.DeleteDvr(63), 1);
    EXPECT_EQ(list.GetDvrCount(), 63);
    EXPECT_EQ(list.Entry(63), _DVR_ENTRY_{});
    EXPECT_EQ(list.AddDvr("again:1", "", "", "", ""), 1);
    EXPECT_EQ(list.Entry(63).settings.address, "again:1");
}

TEST(DvrList, BadSlotsChangeNothing) {
    CDvrList list = ThreeDevices();
    const CDvrList before = list;
    _DVR_SETTINGS_ settings;
    for (int slot : {-1, 3, 63, 64}) {
        EXPECT_EQ(list.DeleteDvr(slot), -1) << slot;
        EXPECT_EQ(list.GetDvr(slot, settings), -1) << slot;
        EXPECT_EQ(list.UpdateDvr(slot, settings), -1) << slot;
    }
    EXPECT_EQ(list, before);
}

TEST(DvrList, UpdateKeepsMapPointsAndTheDevice) {
    CDvrList list = ThreeDevices();
    _DVR_ENTRY_ entry = list.Entry(2);
    entry.mapPoints[0] = PlacedPoint(100);
    ASSERT_EQ(list.DeleteDvr(2), 1);
    ASSERT_EQ(list.AddDvrEntry(entry), 1);

    _DVR_SETTINGS_ changed;
    ASSERT_EQ(list.GetDvr(2, changed), 1);
    changed.showName = "Yard";
    changed.frameRateIndex = 1;
    changed.inUse = 0;  // a copy that lost its flag must not drop the device
    EXPECT_EQ(list.UpdateDvr(2, changed), 1);
    EXPECT_EQ(list.Entry(2).settings.showName, "Yard");
    EXPECT_EQ(list.Entry(2).settings.frameRateIndex, 1);
    EXPECT_EQ(list.Entry(2).settings.inUse, 1);
    EXPECT_EQ(list.Entry(2).mapPoints, entry.mapPoints);
}
