#include "liveview/core/streaming/WindowMap.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

TEST(WindowMap, StartsEmptyAndCellsOutsideTheGridAreRefused) {
    CWindowMap map;
    EXPECT_EQ(map.Snapshot(), CWindowMap::EmptyKeys());
    EXPECT_EQ(map.SetWindowChannel(255, 102), 1);
    EXPECT_EQ(map.GetWindowChannel(255), 102);
    const CWindowMap::Keys before = map.Snapshot();
    EXPECT_EQ(map.SetWindowChannel(256, 5), -1);
    EXPECT_EQ(map.SetWindowChannel(-1, 5), -1);
    EXPECT_EQ(map.GetWindowChannel(256), -1);
    EXPECT_EQ(map.GetWindowChannel(-1), -1);
    EXPECT_EQ(map.Snapshot(), before);
}

TEST(WindowMap, FindGivesTheLowestCellOfAKey) {
    CWindowMap map;
    EXPECT_EQ(map.FindWindowOfChannel(MakeChannelKey(1, 2)), -1);
    map.SetWindowChannel(40, MakeChannelKey(1, 2));
    map.SetWindowChannel(7, MakeChannelKey(1, 2));
    map.SetWindowChannel(3, MakeChannelKey(2, 1));
    EXPECT_EQ(map.FindWindowOfChannel(102), 7);
    EXPECT_EQ(map.FindWindowOfChannel(201), 3);
    map.ClearWindowMap();
    EXPECT_EQ(map.FindWindowOfChannel(102), -1);
    EXPECT_EQ(map.Snapshot(), CWindowMap::EmptyKeys());
}

TEST(WindowMap, FrameThreadsReadWhileTheWindowThreadAssigns) {
    CWindowMap map;
    std::atomic<bool> done{false};
    std::thread reader([&] {
        while (!done.load()) {
            const int cell = map.FindWindowOfChannel(MakeChannelKey(1, 0));
            EXPECT_TRUE(cell == -1 || cell == 17);
        }
    });
    for (int round = 0; round < 2000; ++round) {
        map.SetWindowChannel(17, round % 2 == 0 ? MakeChannelKey(1, 0) : -1);
        if (round % 100 == 0) map.ClearWindowMap();
    }
    done = true;
    reader.join();
}
