// NetCtrl against a scripted recorder, for the exact order of answers, frames and end notices
// that playback relies on; and the argument checks that need no recorder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/protocol/MessageEncoder.h"
#include "platform/netctrl/tests/NetTestSupport.h"
#include "platform/netctrl/tests/ScriptedRecorder.h"

using namespace netproto;

namespace {

Frame MakeFrame(int channel, bool key, int number) {
    Frame frame;
    frame.head.cType = 'V';
    frame.head.nChannel = channel;
    frame.head.nKeyFrame = key ? 1 : 0;
    frame.head.nFrameNo = number;
    frame.payload.assign(100 + number, static_cast<uint8_t>(number));
    frame.head.nLength = static_cast<uint32_t>(frame.payload.size());
    return frame;
}

class LoggedIn : public ::testing::Test {
protected:
    void Start(ScriptedRecorder::Script script) {
        recorder_ = std::make_unique<ScriptedRecorder>([script](ScriptedPeer& p) {
            if (p.Handshake()) {
                script(p);
            }
        });
        ASSERT_EQ(net_.InitNetWork(), 0);
        ASSERT_EQ(net_.ConnectToServer("127.0.0.1", recorder_->Port(), "admin", "pw"), 0);
        ASSERT_EQ(LinkStateOf(net_), kLinkLoggedIn);
    }

    std::unique_ptr<ScriptedRecorder> recorder_;
    NetCtrl net_{QuickTimeouts()};
    std::vector<char> head_ = std::vector<char>(36);
    std::vector<char> data_ = std::vector<char>(kMaxFramePayloadBytes);
};

}  // namespace

TEST_F(LoggedIn, PlaybackHoldsStateTwoUntilTheLastFrameOfTheSpanIsTaken) {
    Start([](ScriptedPeer& p) {
        Message m;
        if (!p.Read(m) || !std::holds_alternative<PlayStart>(m.body)) {
            return;
        }
        const auto& play = std::get<PlayStart>(m.body);
        if (play.start_s != 49530 || play.end_s != 86400 || play.channel_mask != 0x5 ||
            play.fast != 1) {
            return;
        }
        p.Send(m.request_id, Ack{0});
        p.Send(0, MakeFrame(0, true, 0));
        p.Send(0, MakeFrame(0, false, 1));
        p.Send(0, PlayEnd{m.request_id + 100});  // not this span's
        p.Send(0, MakeFrame(2, true, 0));
        p.Send(0, PlayEnd{m.request_id});
        // A command's answer comes after the end notice, so once it is in, that is too.
        while (p.Read(m)) {
            if (std::holds_alternative<Command>(m.body)) p.Send(m.request_id, Ack{0});
        }
    });
    ASSERT_EQ(net_.NetPlayFile(49530, 86400, 0x5, 0, 1), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
    ASSERT_TRUE(PollUntil([&] { return net_.IsHavePicBuf() == 3; }));
    ASSERT_EQ(net_.SendNetCommand(_NET_COMMAND_{}), 0);  // the end notice is in
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
        EXPECT_GE(net_.GetRawPicBuf(head_.data(), data_.data()), 100);
    }
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);  // the caller still works on the last one
    EXPECT_EQ(net_.IsHavePicBuf(), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
}

TEST_F(LoggedIn, NewPlayRequestDropsFramesOfTheOldSpanAndStopEndsIt) {
    Start([](ScriptedPeer& p) {
        Message m;
        while (p.Read(m)) {
            if (std::holds_alternative<PlayStart>(m.body)) {
                p.Send(0, MakeFrame(1, true, 0));  // still the old span
                p.Send(m.request_id, Ack{0});
                p.Send(0, MakeFrame(3, true, 0));
            } else if (!std::holds_alternative<KeepAlive>(m.body)) {
                p.Send(m.request_id, Ack{0});
            }
        }
    });
    ASSERT_EQ(net_.NetPlayFile(0, 86400, 0xF, 0, 0), 0);
    ASSERT_EQ(net_.NetPlayFile(3600, 86400, 0xF, 0, 0), 0);
    // The old span's frame came first: had it been kept, it would be the one waiting now.
    ASSERT_TRUE(PollUntil([&] { return net_.IsHavePicBuf() >= 1; }));
    EXPECT_EQ(net_.IsHavePicBuf(), 1);
    ASSERT_GE(net_.GetRawPicBuf(head_.data(), data_.data()), 0);
    EXPECT_EQ(reinterpret_cast<_NET_FRAME_HEAD_*>(head_.data())->nChannel, 3);
    EXPECT_EQ(LinkStateOf(net_), kLinkStreaming);
    EXPECT_EQ(net_.StopNetPlayFile(), 0);
    EXPECT_EQ(LinkStateOf(net_), kLinkLoggedIn);
}

TEST(NetCtrlLogIn, AFrameInTheSameReadAsTheLogInReplyIsQueuedAtOnce) {
    ScriptedRecorder recorder([](ScriptedPeer& p) {
        Message m;
        if (!p.Read(m) || !p.Send(m.request_id, Challenge{}) || !p.Read(m)) {
            return;
        }
        LoginReply reply;
        reply.info.nTypeCode = 1004;
        reply.info.nCodec = kCodecH264;
        std::vector<uint8_t> both;
        std::vector<uint8_t> frame;
        std::string error;
        if (!EncodeMessage({m.request_id, reply}, both, error) ||
            !EncodeMessage({0, MakeFrame(5, true, 0)}, frame, error)) {
            return;
        }
        both.insert(both.end(), frame.begin(), frame.end());
        p.SendRaw(both.data(), both.size());
        p.Idle(3000);  // quiet from here on
    });
    NetCtrl net(QuickTimeouts());
    ASSERT_EQ(net.InitNetWork(), 0);
    ASSERT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0);
    ASSERT_EQ(net.WaitForPicBuf(QuickTimeouts().silence_ms / 2), 1);
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
    std::vector<char> head(36);
    std::vector<char> data(kMaxFramePayloadBytes);
    EXPECT_EQ(net.GetRawPicBuf(head.data(), data.data()), 100);
    EXPECT_EQ(reinterpret_cast<_NET_FRAME_HEAD_*>(head.data())->nChannel, 5);
}

TEST(NetCtrlPlayback, AFullQueueDoesNotHoldBackTheAnswerToARequest) {
    ScriptedRecorder recorder([](ScriptedPeer& p) {
        Message m;
        if (!p.Handshake() || !p.Read(m)) {
            return;
        }
        p.Send(m.request_id, Ack{0});
        for (int i = 0; i < 20; ++i) {
            p.Send(0, MakeFrame(0, i == 0, i));
        }
        if (p.Read(m)) {  // the stop; frames still in flight come before its answer
            for (int i = 20; i < 40; ++i) {
                p.Send(0, MakeFrame(0, false, i));
            }
            p.Send(m.request_id, Ack{0});
        }
        p.Idle(3000);
    });
    NetTimeouts timeouts = QuickTimeouts();
    timeouts.frame_wait_ms = 2000;                        // longer than an answer may take
    NetCtrl net(timeouts, FrameQueueLimits{4, 1 << 20});  // nobody takes frames here
    net.InitNetWork();
    ASSERT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0);
    ASSERT_EQ(net.NetPlayFile(0, 86400, 0x1, 0, 1), 0);
    ASSERT_TRUE(PollUntil([&] { return net.IsHavePicBuf() == 4; }));
    EXPECT_EQ(net.StopNetPlayFile(), 0) << net.LastError();
    EXPECT_EQ(LinkStateOf(net), kLinkLoggedIn);
}

TEST(NetCtrlPlayback, FramesReadTogetherWithAnAnswerWaitForRoomLikeAnyOther) {
    ScriptedRecorder recorder([](ScriptedPeer& p) {
        Message m;
        if (!p.Handshake() || !p.Read(m)) {
            return;
        }
        p.Send(m.request_id, Ack{0});
        for (int i = 0; i < 4; ++i) {
            p.Send(0, MakeFrame(0, i == 0, i));
        }
        if (!p.Read(m)) {  // the parameter request, sent with the queue full
            return;
        }
        // Its answer and the next frames in one write, so that the link reads them together.
        std::vector<uint8_t> bytes;
        std::string error;
        EncodeMessage({m.request_id, ParaReply{}}, bytes, error);
        for (int i = 4; i < 8; ++i) {
            EncodeMessage({0, MakeFrame(0, false, i)}, bytes, error);
        }
        p.SendRaw(bytes.data(), bytes.size());
        p.Idle(3000);
    });
    NetTimeouts timeouts = QuickTimeouts();
    timeouts.frame_wait_ms = 2000;
    NetCtrl net(timeouts, FrameQueueLimits{4, 1 << 20});
    net.InitNetWork();
    ASSERT_EQ(net.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "pw"), 0);
    ASSERT_EQ(net.NetPlayFile(0, 86400, 0x1, 0, 1), 0);
    ASSERT_TRUE(PollUntil([&] { return net.IsHavePicBuf() == 4; }));
    NET_MAC_SET_PARA para{};
    ASSERT_EQ(net.GetDvrMacPara(&para), 0) << net.LastError();
    // Once the answer is taken, playback frames wait for room again: none is dropped.
    std::vector<char> head(36);
    std::vector<char> data(kMaxFramePayloadBytes);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(PollUntil([&] { return net.IsHavePicBuf() > 0; })) << "frame " << i;
        ASSERT_EQ(net.GetRawPicBuf(head.data(), data.data()), 100 + i);
        EXPECT_EQ(reinterpret_cast<_NET_FRAME_HEAD_*>(head.data())->nFrameNo, i);
    }
}

TEST(NetCtrlCalls, FailAtOnceWithoutANetworkOrALogIn) {
    NetCtrl net(QuickTimeouts());
    EXPECT_EQ(net.ConnectToServer("127.0.0.1", 1, "admin", "pw"), -1);  // no InitNetWork
    net.InitNetWork();
    NET_MAC_SET_PARA para{};
    std::vector<_QRF_FILESHOWINFO> page(300);
    char head[36];
    std::vector<char> data(kMaxFramePayloadBytes);
    EXPECT_EQ(net.GetDvrMacPara(&para), -1);
    EXPECT_EQ(net.NetLocalViewPlay(0xffff, 0), -1);
    EXPECT_EQ(net.TimeToSearchRecList(1090728, page.data(), 0), -1);
    EXPECT_EQ(net.NetPlayFile(0, 100, 1, 0, 0), -1);
    EXPECT_EQ(net.NetSendUpdateFile("/etc/hostname", "/mnt/mtd/x"), -1);
    EXPECT_EQ(net.LastError(), "not logged in");
    EXPECT_EQ(net.IsHavePicBuf(), 0);
    EXPECT_EQ(net.GetRawPicBuf(head, data.data()), -1);
    EXPECT_EQ(net.GetRawPicBuf(nullptr, data.data()), -1);
    EXPECT_EQ(net.NetPlayFile(-1, 100, 1, 0, 0), -1);
    EXPECT_EQ(net.NetPlayFile(100, 86401, 1, 0, 0), -1);
    EXPECT_EQ(net.NetPlayFile(200, 100, 1, 0, 0), -1);
    EXPECT_NE(net.LastError().find("not within one day"), std::string::npos);
    EXPECT_EQ(net.NetSendUpdateFile("/nonexistent/app", "/mnt/mtd/x"), -1);
    EXPECT_NE(net.LastError().find("cannot read the file"), std::string::npos);
    EXPECT_EQ(net.NetSendUpdateFile("/etc/hostname", ""), -1);
    EXPECT_EQ(net.ExecuteShell(std::string(1025, 'x').c_str()), -1);
    EXPECT_EQ(net.TimeToSearchRecList(1090728, nullptr, 0), -1);
    EXPECT_EQ(net.GetMachineInfe().nLinkState, kLinkIdle);
    EXPECT_EQ(net.DisConnect(), 0);
    EXPECT_EQ(net.ResetNetWork(), 0);
    EXPECT_EQ(net.StopNetWork(), 0);
}
