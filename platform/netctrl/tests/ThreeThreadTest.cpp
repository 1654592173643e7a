// One NetCtrl used at once by a connect thread, a frame thread and the window thread, as the
// live view uses it. Run under ThreadSanitizer this proves the sharing is race-free.
#include <gtest/gtest.h>

#include <thread>

#include "platform/netctrl/tests/EmulatorFixture.h"

namespace {

class ThreeThreads : public EmulatorFixture {};

// The frame thread of the live view: polls the state, takes frames, checks their heads.
void FrameThread(NetCtrl& net, const std::atomic<bool>& done, std::atomic<int>& frames,
                 std::atomic<int>& bad_heads) {
    std::vector<char> head(36);
    std::vector<char> data(kMaxFramePayloadBytes);
    while (!done) {
        if (net.GetMachineInfe().nLinkState != kLinkStreaming || net.IsHavePicBuf() <= 0) {
            net.WaitForPicBuf(5);
            continue;
        }
        const int size_bytes = net.GetRawPicBuf(head.data(), data.data());
        if (size_bytes < 0) {
            continue;
        }
        const auto* h = reinterpret_cast<const _NET_FRAME_HEAD_*>(head.data());
        if (h->nLength != static_cast<uint32_t>(size_bytes) ||
            (h->cType != 'V' && h->cType != 'A') || h->nChannel < 0 || h->nChannel > 3) {
            ++bad_heads;
        }
        ++frames;
    }
}

// A connect thread: one log-in, then the stream start of the live view.
void ConnectThread(NetCtrl& net, uint16_t port, std::atomic<int>& logins) {
    if (net.ConnectToServer("127.0.0.1", port, "admin", "admin") < 0) {
        return;
    }
    ++logins;
    if (net.GetMachineInfe().nUserLevel == kSuperUserLevel) {
        net.SetNetParameter(640, 16, 0);
    }
    net.NetLocalViewPlay(0xffff, 0);
}

}  // namespace

TEST_F(ThreeThreads, ConnectFrameAndWindowThreadsShareOneObject) {
    Start({SmallRecorder(4)});
    NetCtrl net(AnsweringTimeouts());
    ASSERT_EQ(net.InitNetWork(), 0);
    std::atomic<bool> done{false};
    std::atomic<int> frames{0};
    std::atomic<int> bad_heads{0};
    std::atomic<int> logins{0};
    std::thread frame_thread(FrameThread, std::ref(net), std::cref(done), std::ref(frames),
                             std::ref(bad_heads));

    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        std::thread connect(ConnectThread, std::ref(net), emulator_.Port(0), std::ref(logins));
        if (round == 2) {
            net.DisConnect();  // the window gives up while the log-in may still run
        }
        // The window thread's timers keep reading the state meanwhile.
        for (int i = 0; i < 20; ++i) {
            net.GetMachineInfe();
            net.GetMachineDiskInfo();
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        connect.join();
        const int frames_before = frames;
        for (int i = 0; i < 10 && LinkStateOf(net) != kLinkIdle; ++i) {
            net.CreateNetKeyFrame();
            net.GetMachineLedInfo();
            net.StopNetLocalView();
            net.NetLocalViewPlay(0x3 << (i % 3), 1);
            net.CreateNetKeyFrame();
            net.SendNetCommand({kNetCommandPtz, 9, 0, 3, 0});
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (round == 1) {
            // Logged in and streaming: frames keep coming while the window thread works.
            EXPECT_TRUE(PollUntil([&] { return frames > frames_before; }));
            emulator_.InjectFault(0, Fault::kDropLink);
            EXPECT_TRUE(PollUntil([&] { return LinkStateOf(net) == kLinkLost; }));
            net.ResetNetWork();
        } else {
            net.DisConnect();
            net.ResetNetWork();
        }
        // The next round's log-in finds the super user's place free.
        EXPECT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).empty(); }));
        EXPECT_EQ(LinkStateOf(net), kLinkIdle);
    }
    done = true;
    frame_thread.join();
    net.StopNetWork();
    EXPECT_GE(logins, 3);
    EXPECT_GT(frames, 0);
    EXPECT_EQ(bad_heads, 0);
}
