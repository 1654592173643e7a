#include "DayKey.h"
#include "RecorderEmulator.h"
#include "TempDir.h"
#include "TestClient.h"

#include <gtest/gtest.h>

namespace {

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override {
        RecorderConfig config = DefaultRecorderConfig(2, DayNumberOf({2009, 8, 28}));
        config.loop_frames = 6;
        sandbox_ = MakeTestFolder("fault");
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, sandbox_, &error)) << error;
        ASSERT_TRUE(client_.Connect(emulator_.Port(0)));
        ASSERT_EQ(client_.Login("admin", "admin"), 0);
        ASSERT_EQ(client_.Ack(netproto::LiveStart{0x1, 0}), 0);
        // Let the stream run into its loop first.
        for (int i = 0; i < 2; ++i)
            ASSERT_TRUE(client_.NextFrame());
    }
    void TearDown() override {
        emulator_.Stop();
        std::filesystem::remove_all(sandbox_);
    }

    RecorderEmulator emulator_;
    std::filesystem::path sandbox_;
    TestClient client_;
};

TEST_F(FaultTest, DropLinkClosesTheConnectionAndLogsOut) {
    emulator_.InjectFault(0, Fault::kDropLink);
    while (client_.Next(3000)) {
    }
    EXPECT_NE(client_.LastError().find("closed"), std::string::npos) << client_.LastError();
    for (int i = 0; i < 100 && !emulator_.LoggedInUsers(0).empty(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(emulator_.LoggedInUsers(0).empty());
}

TEST_F(FaultTest, StallSendsNothingForAWhile) {
    emulator_.InjectFault(0, Fault::kStall, 600);
    // Frames already on the way may still come; then nothing until the stall ends.
    const auto start = std::chrono::steady_clock::now();
    while (client_.Next(300)) {
    }
    EXPECT_NE(client_.LastError().find("time"), std::string::npos) << client_.LastError();
    ASSERT_TRUE(client_.NextFrame(3000));
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
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

    emulator_.InjectFault(0, Fault::kOversizeLength);
    for (;;) {
        auto f = client_.NextFrame();
        ASSERT_TRUE(f);
        if (f->head.nLength == 304289) {
            EXPECT_EQ(f->payload.size(), 304289u);
            break;
        }
    }

    emulator_.InjectFault(0, Fault::kFrameNumberGap);
    int previous = client_.NextFrame()->head.nFrameNo;
    bool gap = false;
    for (int i = 0; i < 20 && !gap; ++i) {
        const int number = client_.NextFrame()->head.nFrameNo;
        gap = number != (previous + 1) % 6;
        if (gap) {
            EXPECT_EQ(number, previous + 2);
        }
        previous = number;
    }
    EXPECT_TRUE(gap);

    emulator_.InjectFault(0, Fault::kBadHeader);
    while (client_.Next(3000)) {
    }
    EXPECT_NE(client_.LastError().find("magic"), std::string::npos) << client_.LastError();
}

}  // namespace
