#include "common/record/FrameHeadCheck.h"

#include <gtest/gtest.h>

#include "common/record/KeyFrameFlags.h"

namespace {

_NET_FRAME_HEAD_ Frame(int channel, int frame_no) {
    _NET_FRAME_HEAD_ header{};
    header.cType = 'V';
    header.nChannel = channel;
    header.nFrameNo = frame_no;
    header.nKeyFrame = frame_no == 0 ? 1 : 0;
    header.nSize = 2;
    header.nLength = 1000;
    return header;
}

}  // namespace

TEST(KeyFrameFlags, AFlagOpensAtAKeyFrameAndClosesAlone) {
    KeyFrameFlags<130> flags;
    EXPECT_FALSE(flags.Pass(5, false));
    EXPECT_TRUE(flags.Pass(5, true));
    EXPECT_TRUE(flags.Pass(5, false));
    EXPECT_TRUE(flags.Pass(129, true));  // the last flag, in a word of its own
    EXPECT_FALSE(flags.Pass(64, false));
    flags.Close(5);
    EXPECT_FALSE(flags.Pass(5, false));
    EXPECT_TRUE(flags.IsOpen(129));
    flags.CloseAll();
    EXPECT_FALSE(flags.Pass(129, false));
    EXPECT_FALSE(flags.Pass(130, true));
    EXPECT_FALSE(flags.Pass(-1, true));
}

TEST(FrameHeadCheck, TypeChannelAndLengthMustBePlausible) {
    _NET_FRAME_HEAD_ header = Frame(0, 0);
    EXPECT_EQ(IsValidFrameHead(header), 1);
    header.cType = 'A';
    EXPECT_EQ(IsValidFrameHead(header), 1);
    header.cType = 'X';
    EXPECT_EQ(IsValidFrameHead(header), -1);

    header = Frame(255, 0);
    EXPECT_EQ(IsValidFrameHead(header), 1);
    header.nChannel = 256;
    EXPECT_EQ(IsValidFrameHead(header), -1);
    header.nChannel = -1;
    EXPECT_EQ(IsValidFrameHead(header), -1);

    header = Frame(0, 0);
    header.nLength = 304288;
    EXPECT_EQ(IsValidFrameHead(header), 1);
    header.nLength = 304289;
    EXPECT_EQ(IsValidFrameHead(header), -1);
    header.nLength = 0xffffffffu;
    EXPECT_EQ(IsValidFrameHead(header), -1);
}
