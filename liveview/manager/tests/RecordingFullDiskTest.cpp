// Local recording onto a disk that fills up.
#include <filesystem>
#include <regex>

#include "liveview/manager/tests/DisplayFixture.h"
#include "tests/support/PairFrames.h"
#include "tests/support/SmallDisk.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

[[maybe_unused]] const bool kPrivateMounts = SmallDisk::EnterPrivateMounts();

using RecordingFullDiskTest = DisplayFixture;

// The recording stops at the first frame that cannot be written, keeps every frame written
// before, and says so once; frames that follow open no new pairs.
TEST_F(RecordingFullDiskTest, StopsAtTheFirstFailureAndKeepsThePair) {
    const SmallDisk disk(RecordFolder(), 128 * 1024);
    ASSERT_TRUE(disk.Mounted()) << disk.Error();
    RecorderEmulator emulator;
    RecorderConfig config = DefaultRecorderConfig(4, DayNumberOf({2026, 12, 9}));
    config.loop_frames = 8;
    std::string error;
    ASSERT_TRUE(emulator.Start({config}, folder_ / "sandbox", &error)) << error;
    ASSERT_EQ(manager_->AddDvr("127.0.0.1:" + std::to_string(emulator.Port(0)), "", "admin",
                               "admin", "gate"),
              1);
    _DVR_SETTINGS_ settings;
    ASSERT_EQ(manager_->GetDvr(0, settings), 1);
    ASSERT_EQ(manager_->UpdateDvr(0, settings, RecordFolder()), 1);
    manager_->SetCurrentDvr(0);
    ASSERT_EQ(manager_->StartDvrNetwork(0), 1);
    ASSERT_GE(manager_->ConnectDvr(0), 0);
    manager_->RefreshLiveViews();

    ASSERT_EQ(manager_->StartRecord(0), 1);
    ASSERT_TRUE(PollUntil([&] { return manager_->IsRecording(0) == 0; }, 60000));
    // The stream goes on; what comes now must leave the disk alone.
    const uint64_t received = manager_->GetFrameCounts(0).received;
    ASSERT_TRUE(PollUntil([&] { return manager_->GetFrameCounts(0).received >= received + 64; }));
    manager_->Shutdown();

    const auto pairs = Pairs(RecordFolder());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(RecordFolder()),
                            std::filesystem::directory_iterator()),
              2);
    const auto frames = ReadPair(pairs[0]);
    ASSERT_GT(frames.size(), 0u);
    const auto messages = Messages();
    ASSERT_EQ(messages.size(), 1u);
    const std::regex expected("Local recording of gate stopped: cannot write to " + RecordFolder() +
                              " \\(.+\\)\\. (\\d+) frames were kept in " + RecordFolder() + "\\.");
    std::smatch match;
    ASSERT_TRUE(std::regex_match(messages[0], match, expected)) << messages[0];
    EXPECT_EQ(std::stoul(match[1]), frames.size());
    emulator.Stop();
}

}  // namespace
