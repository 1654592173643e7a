#include "liveview/core/streaming/NetParameter.h"

#include <gtest/gtest.h>

TEST(NetParameter, SuperUserGetsTheEntrysRates) {
    EXPECT_EQ(LiveViewNetParameter(2, 2, 2), (NetParameter{640, 16}));
    EXPECT_EQ(LiveViewNetParameter(2, 0, 0), (NetParameter{90, 6}));
    EXPECT_EQ(LiveViewNetParameter(2, 1, 1), (NetParameter{200, 10}));
    EXPECT_EQ(ChangedNetParameter(2, 2, 2), (NetParameter{640, 16}));
    EXPECT_EQ(ChangedNetParameter(2, 0, 0), (NetParameter{90, 6}));
    EXPECT_EQ(ChangedNetParameter(2, 1, 1), (NetParameter{200, 10}));
}

TEST(NetParameter, OrdinaryUserGetsFixedRates) {
    for (int level : {0, 1, 3}) {
        EXPECT_EQ(LiveViewNetParameter(level, 0, 0), (NetParameter{480, 16}));
        EXPECT_EQ(ChangedNetParameter(level, 2, 2), (NetParameter{300, 10}));
    }
}

TEST(NetParameter, IndexesOutsideTheListFallBackDifferentlyAtStartAndAfterAChange) {
    EXPECT_EQ(RateBase(-1), 1024);
    EXPECT_EQ(RateBase(7), 1024);
    EXPECT_EQ(LiveViewNetParameter(2, 5, 3), (NetParameter{640, 16}));
    EXPECT_EQ(ChangedNetParameter(2, 5, 3), (NetParameter{240, 6}));
    EXPECT_EQ(ChangedNetParameter(2, 1, -1), (NetParameter{120, 6}));
}
