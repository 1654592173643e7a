#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <vector>

#include "playback/core/backup/BackupWriter.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/PairFrames.h"
#include "tests/support/TestFolder.h"

namespace {

namespace fs = std::filesystem;

_NET_FRAME_HEAD_ Head(char type, int channel, uint32_t length, int32_t time = 1700000000) {
    _NET_FRAME_HEAD_ head{};
    head.cType = type;
    head.nChannel = channel;
    head.nLength = length;
    head.nTime = time;
    return head;
}

class BackupWriterTest : public ::testing::Test {
protected:
    std::vector<uint8_t> payload_ = std::vector<uint8_t>(3000, 0x5A);
    TestFolder folder_;
    std::atomic<int> backup_mode_{0};
    CBackupWriter writer_{backup_mode_};
};

// Only in backup mode: every frame counts its length + 36, only the wanted ones are written,
// and the end closes the pair.
TEST_F(BackupWriterTest, CountsEveryFrameAndWritesTheWanted) {
    writer_.SetDirectory(folder_.Path().string());
    _NET_FRAME_HEAD_ idle = Head('V', 0, 100);
    EXPECT_EQ(writer_.Take(idle, payload_.data(), true), std::nullopt);

    writer_.Begin();
    EXPECT_EQ(backup_mode_.load(), 1);
    struct Frame {
        _NET_FRAME_HEAD_ head;
        bool wanted;
        int64_t received;
    } frames[] = {
        {Head('V', 0, 100), true, 136},
        {Head('V', 1, 50), false, 222},  // a channel outside the mask
        {Head('A', 3, 320), true, 578},
        {Head('V', 0, 2000), true, 2614},
    };
    for (Frame& f : frames) {
        EXPECT_EQ(writer_.Take(f.head, payload_.data(), f.wanted), f.received);
    }
    writer_.End();
    EXPECT_EQ(backup_mode_.load(), 0);
    _NET_FRAME_HEAD_ late = Head('V', 0, 100);
    EXPECT_EQ(writer_.Take(late, payload_.data(), true), std::nullopt);

    const auto pairs = Pairs(folder_.Path());
    ASSERT_EQ(pairs.size(), 1u);
    const auto read = ReadPair(pairs[0]);
    ASSERT_EQ(read.size(), 3u);
    EXPECT_EQ(read[0].first.nLength, 100u);
    EXPECT_EQ(read[1].first.cType, 'A');
    EXPECT_EQ(read[2].second, std::vector<uint8_t>(payload_.begin(), payload_.begin() + 2000));

    writer_.Begin();
    _NET_FRAME_HEAD_ again = Head('A', 0, 64);
    EXPECT_EQ(writer_.Take(again, payload_.data(), false), 100);
    writer_.End();
}

// A disk that fills stops the writing with a message; the frames already written stay whole
// and later frames are counted but open no new pair.
TEST_F(BackupWriterTest, FullDiskStopsWritingAndKeepsTheFrames) {
    writer_.SetDirectory(folder_.Path().string());
    writer_.Begin();
    int64_t received = 0;
    {
        const FileSizeLimit disk(50000);
        for (int i = 0; i < 40; ++i) {
            _NET_FRAME_HEAD_ head = Head('V', 0, static_cast<uint32_t>(payload_.size()));
            received = writer_.Take(head, payload_.data(), true).value_or(-1);
        }
    }
    EXPECT_EQ(received, 40 * 3036);
    EXPECT_TRUE(writer_.Failed());
    EXPECT_EQ(writer_.Failure(), "Backup stopped: cannot write to " + folder_.Path().string() +
                                     " (" + std::strerror(EFBIG) +
                                     "). The frames written before are kept.");
    writer_.End();
    const auto pairs = Pairs(folder_.Path());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(ReadPair(pairs[0]).size(), 50000u / 3000);
}

// The chosen folder gone while its pair is written: the backup stops with a message instead
// of writing into files nobody finds, or a next pair into the home folder.
TEST_F(BackupWriterTest, VanishedFolderStopsWriting) {
    const std::string saved_home = std::getenv("HOME") ? std::getenv("HOME") : "";
    const fs::path home = folder_.Path() / "home";
    const fs::path chosen = folder_.Path() / "chosen";
    fs::create_directories(home);
    fs::create_directories(chosen);
    setenv("HOME", home.c_str(), 1);
    writer_.SetDirectory(chosen.string());
    writer_.Begin();
    for (int i = 0; i < 10 + CBackupWriter::kFolderCheckFrames && !writer_.Failed(); ++i) {
        if (i == 10) fs::remove_all(chosen);
        _NET_FRAME_HEAD_ head = Head('V', 0, 100);
        writer_.Take(head, payload_.data(), true);
    }
    writer_.End();
    setenv("HOME", saved_home.c_str(), 1);
    EXPECT_NE(writer_.Failure().find("(the folder is gone)"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(home));
}

}  // namespace
