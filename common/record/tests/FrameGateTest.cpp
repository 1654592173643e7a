#include "common/record/FrameGate.h"

#include <gtest/gtest.h>

namespace {

_NET_FRAME_HEAD_ Video(int channel, int frame_no, uint8_t size = 2) {
    _NET_FRAME_HEAD_ header{};
    header.cType = 'V';
    header.nChannel = channel;
    header.nFrameNo = frame_no;
    header.nKeyFrame = frame_no == 0 ? 1 : 0;
    header.nSize = size;
    header.nLength = 1000;
    return header;
}

}  // namespace

TEST(FrameGate, ChannelsOutsideSixteenAreDropped) {
    CFrameGate gate;
    EXPECT_FALSE(gate.AcceptVideo(Video(16, 0)));
    EXPECT_FALSE(gate.AcceptVideo(Video(200, 0)));
    EXPECT_TRUE(gate.AcceptVideo(Video(15, 0)));
    EXPECT_EQ(gate.LastVideoChannel(), 15);
}

TEST(FrameGate, AGapHoldsItsChannelBackUntilTheNextKeyFrame) {
    CFrameGate gate;
    for (int channel : {3, 4}) {
        EXPECT_TRUE(gate.AcceptVideo(Video(channel, 0)));
        EXPECT_TRUE(gate.AcceptVideo(Video(channel, 1)));
    }
    EXPECT_FALSE(gate.AcceptVideo(Video(3, 3)));  // frame 2 lost
    EXPECT_FALSE(gate.AcceptVideo(Video(3, 4)));
    EXPECT_TRUE(gate.AcceptVideo(Video(4, 2)));  // other channels go on
    EXPECT_TRUE(gate.AcceptVideo(Video(4, 3)));
    EXPECT_TRUE(gate.AcceptVideo(Video(3, 0)));
    EXPECT_TRUE(gate.AcceptVideo(Video(3, 1)));
}

TEST(FrameGate, FramesCountWithoutBeingDecoded) {
    // A recorded channel that no cell shows is never decoded; it must still pass in sequence.
    CFrameGate gate;
    for (int frame = 0; frame < 50; ++frame)
        EXPECT_TRUE(gate.AcceptVideo(Video(7, frame)));
}

TEST(FrameGate, CellsOpenAtAKeyFrameAndCloseOnEveryChange) {
    CFrameGate gate;
    EXPECT_FALSE(gate.PassKeyGate(5, false));
    EXPECT_TRUE(gate.PassKeyGate(5, true));
    EXPECT_TRUE(gate.PassKeyGate(5, false));
    EXPECT_FALSE(gate.PassKeyGate(6, false));

    gate.NoteAllDvrMode(false);  // no change: stays open
    EXPECT_TRUE(gate.PassKeyGate(5, false));
    gate.NoteAllDvrMode(true);
    EXPECT_FALSE(gate.PassKeyGate(5, false));

    EXPECT_TRUE(gate.PassKeyGate(5, true));
    ASSERT_TRUE(gate.AcceptVideo(Video(0, 0, 2)));  // the size the gate starts with
    EXPECT_TRUE(gate.PassKeyGate(5, false));
    ASSERT_TRUE(gate.AcceptVideo(Video(0, 1, 0)));  // picture size changed
    EXPECT_FALSE(gate.PassKeyGate(5, false));

    EXPECT_TRUE(gate.PassKeyGate(9, true));
    gate.CloseCell(9);
    EXPECT_FALSE(gate.PassKeyGate(9, false));
    EXPECT_TRUE(gate.PassKeyGate(255, true));
    gate.ClearKeySeen();
    EXPECT_FALSE(gate.PassKeyGate(255, false));
    EXPECT_FALSE(gate.PassKeyGate(256, true));
    EXPECT_FALSE(gate.PassKeyGate(-1, true));
}
