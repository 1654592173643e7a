#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"
#include "tools/recorder-emulator/tests/TestClient.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <thread>
#include <vector>

namespace {

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecorderConfig config = DefaultRecorderConfig(2, DayNumberOf({2009, 8, 28}));
        config.loop_frames = 6;
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, sandbox_, &error)) << error;
        ASSERT_TRUE(client_.Connect(emulator_.Port(0)));
        ASSERT_EQ(client_.Login("admin", "admin"), 0);
        ASSERT_EQ(client_.Ack(netproto::LiveStart{0x1, 0}), 0);
        // Let the stream run into its loop first.
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(client_.NextFrame());
    }
    void TearDown() override { emulator_.Stop(); }

    // Waits until the recorder's connection has committed fault.
    bool Committed(Fault fault) {
        return PollUntil([&] {
            const std::vector<Fault> faults = emulator_.Journal(0).faults;
            return std::find(faults.begin(), faults.end(), fault) != faults.end();
        });
    }

    TestFolder test_folder_;
    const std::filesystem::path sandbox_ = test_folder_.Path();
    RecorderEmulator emulator_;
    TestClient client_;
};

TEST_F(FaultTest, DropLinkClosesTheConnectionAndLogsOut) {
    emulator_.InjectFault(0, Fault::kDropLink);
    while (client_.Next(3000)) {
    }
    EXPECT_NE(client_.LastError().find("closed"), std::string::npos) << client_.LastError();
    EXPECT_TRUE(PollUntil([&] { return emulator_.LoggedInUsers(0).empty(); }));
    EXPECT_EQ(emulator_.Journal(0).faults, std::vector<Fault>{Fault::kDropLink});
}

TEST_F(FaultTest, StallSendsNothingUntilItEnds) {
    emulator_.InjectFault(0, Fault::kStall, 600000);
    ASSERT_TRUE(Committed(Fault::kStall));
    // Frames already on the way may still come; then nothing while the stall lasts.
    int in_flight = 0;
    while (client_.Next(300)) {
        ASSERT_LT(++in_flight, 1000) << "frames keep coming";
    }
    EXPECT_NE(client_.LastError().find("time"), std::string::npos) << client_.LastError();
    emulator_.InjectFault(0, Fault::kStall, 0);
    EXPECT_TRUE(client_.NextFrame(20000));
    EXPECT_EQ(emulator_.Journal(0).faults, std::vector<Fault>{Fault::kStall});
}

TEST_F(FaultTest, FrameFaults) {
    emulator_.InjectFault(0, Fault::kBadChannel);
    for (;;) {
        auto f = client_.NextFrame();
        ASSERT_TRUE(f);
        if (f->head.nChannel == 16) break;
        ASSERT_EQ(f->head.nChannel, 0);
    }
    auto after = client_.NextFrame();
    ASSERT_TRUE(after);
    EXPECT_EQ(after->head.nChannel, 0) << "only one frame is bent";

    emulator_.InjectFault(0, Fault::kBadFrameType);
    for (;;) {
        auto f = client_.NextFrame();
        ASSERT_TRUE(f);
        if (f->head.cType == 'X') break;
        ASSERT_EQ(f->head.cType, 'V');
    }
    EXPECT_EQ(client_.NextFrame()->head.cType, 'V');

    emulator_.InjectFault(0, Fault::kOversizeLength);
    int previous = 0;
    for (;;) {
        auto f = client_.NextFrame();
        ASSERT_TRUE(f);
        previous = f->head.nFrameNo;
        if (f->head.nLength == kMaxRecordedFrameBytes + 1) {
            EXPECT_EQ(f->payload.size(), kMaxRecordedFrameBytes + 1);
            break;
        }
    }

    // The frame left out may be the very next one. Once the gap is committed a stall holds the
    // stream: the frames up to the gap are among those on the way, however many a loaded run
    // left unread, and the frame after it comes at the latest when the stall ends.
    emulator_.InjectFault(0, Fault::kFrameNumberGap);
    ASSERT_TRUE(Committed(Fault::kFrameNumberGap));
    emulator_.InjectFault(0, Fault::kStall, 600000);
    ASSERT_TRUE(Committed(Fault::kStall));
    int gaps = 0;
    const auto follow = [&](const netproto::Frame& f) {
        const int number = f.head.nFrameNo;
        if (number != (previous + 1) % 6) {
            ++gaps;
            EXPECT_EQ(number, previous + 2);
        }
        previous = number;
    };
    while (auto m = client_.Next(300)) {
        const auto* f = std::get_if<netproto::Frame>(&m->body);
        ASSERT_TRUE(f);
        follow(*f);
    }
    emulator_.InjectFault(0, Fault::kStall, 0);
    const auto first_after = client_.NextFrame(20000);
    ASSERT_TRUE(first_after);
    follow(*first_after);
    EXPECT_EQ(gaps, 1);

    emulator_.InjectFault(0, Fault::kBadHeader);
    while (client_.Next(3000)) {
    }
    EXPECT_NE(client_.LastError().find("magic"), std::string::npos) << client_.LastError();
    const std::vector<Fault> committed{Fault::kBadChannel,     Fault::kBadFrameType,
                                       Fault::kOversizeLength, Fault::kFrameNumberGap,
                                       Fault::kStall,          Fault::kBadHeader};
    EXPECT_EQ(emulator_.Journal(0).faults, committed);
}

// Faults that bend one field of one frame's own header, each on exactly one frame.
TEST(HeadFaultTest, EachBendsOneFrame) {
    TestFolder folder;
    RecorderEmulator emulator;
    RecorderConfig config = DefaultRecorderConfig(2, DayNumberOf({2009, 8, 28}));
    config.loop_frames = 6;
    config.audio_mask = 0x1;
    std::string error;
    ASSERT_TRUE(emulator.Start({config}, folder.Path(), &error)) << error;
    TestClient client;
    ASSERT_TRUE(client.Connect(emulator.Port(0)));
    ASSERT_EQ(client.Login("admin", "admin"), 0);
    ASSERT_EQ(client.Ack(netproto::LiveStart{0x1, 1}), 0);
    const struct {
        Fault fault;
        char type;
        bool (*bent)(const _NET_FRAME_HEAD_&);
    } cases[] = {
        {Fault::kBadSizeCode, 'V', [](const _NET_FRAME_HEAD_& h) { return h.nSize == 200; }},
        {Fault::kNoFrameNumber, 'V', [](const _NET_FRAME_HEAD_& h) { return h.nFrameNo == -1; }},
        {Fault::kFarTime, 'V', [](const _NET_FRAME_HEAD_& h) { return h.nTime == INT32_MAX; }},
        {Fault::kUnannouncedAudio, 'A', [](const _NET_FRAME_HEAD_& h) { return h.nChannel == 1; }},
    };
    for (const auto& c : cases) {
        emulator.InjectFault(0, c.fault);
        int bent = 0;
        for (int frames = 0; frames < 200; ++frames) {
            auto f = client.NextFrame();
            ASSERT_TRUE(f);
            if (f->head.cType == c.type && c.bent(f->head)) ++bent;
        }
        EXPECT_EQ(bent, 1) << static_cast<int>(c.fault);
    }
    emulator.Stop();
}

}  // namespace

namespace {

TEST(EmulatorConnections, IdleConnectionsGiveWayToLogIns) {
    TestFolder folder("flood");
    const auto sandbox = folder.Path();
    RecorderConfig config = DefaultRecorderConfig(1, 14000);
    config.loop_frames = 2;
    RecorderEmulator emulator;
    std::string error;
    ASSERT_TRUE(emulator.Start({config}, sandbox, &error)) << error;
    TestClient first;
    ASSERT_TRUE(first.Connect(emulator.Port(0)));
    ASSERT_EQ(first.Login("admin", "admin"), 0);
    std::vector<std::unique_ptr<TestClient>> idle;
    for (int i = 0; i < 500; ++i) {
        idle.push_back(std::make_unique<TestClient>());
        ASSERT_TRUE(idle.back()->Connect(emulator.Port(0)));
    }
    int logged_in = 0;
    for (int i = 0; i < 5; ++i) {
        TestClient honest;
        logged_in += honest.Connect(emulator.Port(0)) && honest.Login("guest", "guest") == 0;
    }
    EXPECT_EQ(logged_in, 5);
    EXPECT_EQ(first.Ack(netproto::KeyFrame{}), 0);  // a logged-in client never gives way
    emulator.Stop();
}

}  // namespace

namespace {

TEST(EmulatorConnections, StopIsNotHeldUpByAClientThatDoesNotRead) {
    TestFolder folder("noread");
    const auto sandbox = folder.Path();
    RecorderConfig config = DefaultRecorderConfig(4, 14000);
    config.loop_frames = 3;
    config.first_record_day = config.last_record_day = 14000;
    RecorderEmulator emulator;
    std::string error;
    ASSERT_TRUE(emulator.Start({config}, sandbox, &error)) << error;
    TestClient client;
    ASSERT_TRUE(client.Connect(emulator.Port(0)));
    ASSERT_EQ(client.Login("admin", "admin"), 0);
    ASSERT_TRUE(client.Request<netproto::RecListReply>(netproto::RecListQuery{1090728, 0}));
    ASSERT_TRUE(client.Send(netproto::PlayStart{0, 86400, 0xf, 0, 1}));
    // The fast span has begun; its bursts fill the socket buffers while nobody reads.
    ASSERT_TRUE(PollUntil(
        [&] { return !emulator.Journal(0).play_requests.empty() && client.UnreadBytes() > 0; }));
    const auto before = std::chrono::steady_clock::now();
    emulator.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5))
        << "a send waiting for the reader must see the stop";
}

}  // namespace
