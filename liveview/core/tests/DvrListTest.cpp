#include "liveview/core/store/DvrList.h"

#include <gtest/gtest.h>

#include <string>

namespace {

_DVR_ENTRY_ Device(int n) {
    _DVR_ENTRY_ entry;
    const std::string text = std::to_string(n);
    entry.settings.address = "10.0.0." + text + ":6802";
    entry.settings.show_name = "dvr" + text;
    entry.settings.auto_connect = n % 2;
    entry.settings.channel_mask = n;
    entry.map_points[n % 16] = _MAP_POINT_{1, 2, 3, 4, 5, 6, 10 * n, 20 * n};
    return entry;
}

CDvrList ThreeDevices() {
    CDvrList list;
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(list.AddDvrEntry(Device(n)), 1);
    return list;
}

}  // namespace

TEST(DvrList, AddGivesTheDefaultsAndTheListHoldsAtMost64) {
    CDvrList list;
    EXPECT_EQ(list.AddDvr("host:6802", "6802", "admin", "secret", "Front"), 1);
    const _DVR_ENTRY_& entry = list.Entry(0);
    EXPECT_EQ(entry.settings.address, "host:6802");
    EXPECT_EQ(entry.settings.show_name, "Front");
    EXPECT_EQ(entry.settings.in_use, 1);
    EXPECT_EQ(entry.settings.channel_mask, 0xffff);
    EXPECT_EQ(entry.settings.frame_rate_index, 2);
    EXPECT_EQ(entry.settings.quality_index, 2);
    EXPECT_EQ(entry.settings.send_audio, 0);
    EXPECT_EQ(entry.settings.auto_connect, 0);
    for (const _MAP_POINT_& point : entry.map_points) {
        EXPECT_EQ(point, (_MAP_POINT_{0, 1, 0, 0, 0, 0, 0, 0}));
    }

    for (int i = 1; i < CDvrList::kMaxDvrs; ++i)
        ASSERT_EQ(list.AddDvr("h:1", "", "", "", ""), 1);
    EXPECT_EQ(list.AddDvr("h:2", "", "", "", ""), -1);
    EXPECT_EQ(list.GetDvrCount(), 64);
    EXPECT_EQ(list.DeleteDvr(63), 1);
    EXPECT_EQ(list.Entry(63), _DVR_ENTRY_{});
    EXPECT_EQ(list.AddDvr("again:1", "", "", "", ""), 1);
    EXPECT_EQ(list.Entry(63).settings.address, "again:1");
}

TEST(DvrList, DeleteMovesLaterDevicesDownWithAllTheirSettings) {
    CDvrList list = ThreeDevices();
    EXPECT_EQ(list.DeleteDvr(0), 1);
    EXPECT_EQ(list.GetDvrCount(), 2);
    _DVR_ENTRY_ expected = Device(1);
    expected.settings.in_use = 1;
    EXPECT_EQ(list.Entry(0), expected);
    EXPECT_EQ(list.Entry(0).settings.auto_connect, 1);
    expected = Device(2);
    expected.settings.in_use = 1;
    EXPECT_EQ(list.Entry(1), expected);
    EXPECT_EQ(list.Entry(2), _DVR_ENTRY_{});

    _DVR_SETTINGS_ out;
    EXPECT_EQ(list.GetDvr(2, out), -1);
    EXPECT_EQ(list.GetDvr(1, out), 1);
    EXPECT_EQ(out.address, "10.0.0.2:6802");
    // A new device in the freed slot starts from the defaults.
    EXPECT_EQ(list.AddDvr("new:1", "", "", "", ""), 1);
    EXPECT_EQ(list.Entry(2).map_points, _DVR_ENTRY_{}.map_points);
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
    _DVR_SETTINGS_ changed;
    ASSERT_EQ(list.GetDvr(2, changed), 1);
    changed.show_name = "Yard";
    changed.frame_rate_index = 1;
    changed.in_use = 0;  // taken as given, like every other setting
    EXPECT_EQ(list.UpdateDvr(2, changed), 1);
    EXPECT_EQ(list.Entry(2).settings.show_name, "Yard");
    EXPECT_EQ(list.Entry(2).settings.frame_rate_index, 1);
    EXPECT_EQ(list.Entry(2).settings.in_use, 0);
    EXPECT_EQ(list.GetDvrCount(), 3);
    EXPECT_EQ(list.Entry(2).map_points, Device(2).map_points);
}
