#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <filesystem>
#include <vector>

#include "common/settings/LanguageSelect.h"
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
    head.nKeyFrame = type == 'V' ? 1 : 0;
    return head;
}

LanguageSelect EnglishTexts() {
    LanguageSelect texts;
    texts.UseDefaults();
    return texts;
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
    const std::string folder = folder_.Path().string();
    EXPECT_EQ(writer_.IncompleteText(EnglishTexts(), 10000),
              "Backup incomplete: cannot write to " + folder + " (" + std::strerror(EFBIG) +
                  "). 16 frames were kept in " + folder + ".");
    writer_.End();
    const auto pairs = Pairs(folder_.Path());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(ReadPair(pairs[0]).size(), 50000u / 3000);
}

// A disk that fails a write it had room for, while the pair is written behind the receiving:
// the backup stops taking frames, and what it reports kept is what its closed pair holds.
TEST_F(BackupWriterTest, AWriteThatFailsBehindStopsTheBackupAndCountsWhatThePairHolds) {
    writer_.SetDirectory(folder_.Path().string());
    writer_.Begin();
    _NET_FRAME_HEAD_ first = Head('V', 0, static_cast<uint32_t>(payload_.size()));
    writer_.Take(first, payload_.data(), true);  // the pair and its room on the disk
    int taken = 1;
    {
        // The room is there, the writes beyond 50000 bytes fail all the same.
        const FileSizeLimit disk(50000);
        for (; taken < 4000 && !writer_.Failed(); ++taken) {
            _NET_FRAME_HEAD_ head = Head('V', 0, static_cast<uint32_t>(payload_.size()));
            writer_.Take(head, payload_.data(), true);
        }
        writer_.Finish();
    }
    EXPECT_LT(taken, 4000);
    EXPECT_TRUE(writer_.Failed());
    const std::string folder = folder_.Path().string();
    EXPECT_EQ(writer_.IncompleteText(EnglishTexts(), 10000),
              "Backup incomplete: cannot write to " + folder + " (" + std::strerror(EFBIG) +
                  "). 16 frames were kept in " + folder + ".");
    EXPECT_EQ(writer_.FramesKept(), 16u);
    const auto pairs = Pairs(folder_.Path());
    ASSERT_EQ(pairs.size(), 1u);
    EXPECT_EQ(ReadPair(pairs[0]).size(), 16u);
    writer_.End();
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
    EXPECT_NE(writer_.IncompleteText(EnglishTexts(), 10000)
                  .find(std::string("(") + std::strerror(ENOENT) + "). No frame was kept."),
              std::string::npos);
    EXPECT_TRUE(fs::is_empty(home));
}

// Only frames whose head a pair's reader can follow are written: the rest are counted as
// refused, and a refused video frame holds its channel back to the next key frame.
constexpr int32_t kDay = 1251417600;  // 28 August 2009, 00:00 UTC

TEST_F(BackupWriterTest, BrokenHeadsAreRefused) {
    writer_.SetDirectory(folder_.Path().string());
    writer_.Begin();
    writer_.SetStream(kDay + 13 * 3600, kDay + 14 * 3600, 0x5);
    const auto video = [](int number, int32_t time = kDay + 13 * 3600, uint8_t size = 2) {
        _NET_FRAME_HEAD_ head = Head('V', 0, 100, time);
        head.nKeyFrame = number == 0;
        head.nFrameNo = number;
        head.nSize = size;
        return head;
    };
    const struct {
        const char* what;
        _NET_FRAME_HEAD_ head;
        bool kept;
    } frames[] = {
        {"key frame", video(0), true},
        {"next in its group", video(1), true},
        {"size code 200", video(2, kDay + 13 * 3600, 200), false},
        {"after the refused one", video(3), false},
        {"key frame again", video(0), true},
        {"frame number -1", video(-1), false},
        {"key frame once more", video(0), true},
        {"time 2^31 - 1", video(1, INT32_MAX), false},
        {"a day before the span", video(0, kDay - 86401), false},
        {"the recorder's zone a day off", video(0, kDay + 37 * 3600), true},
        {"audio of an announced channel", Head('A', 2, 64, kDay + 13 * 3600), true},
        {"audio of another channel", Head('A', 1, 64, kDay + 13 * 3600), false},
    };
    std::vector<std::string> expected;
    for (const auto& f : frames) {
        _NET_FRAME_HEAD_ head = f.head;
        ASSERT_TRUE(writer_.Take(head, payload_.data(), true));
        if (f.kept) expected.push_back(f.what);
    }
    writer_.End();
    EXPECT_EQ(writer_.FramesKept(), expected.size());
    EXPECT_EQ(writer_.FramesRefused(), std::size(frames) - expected.size());
    const auto pairs = Pairs(folder_.Path());
    ASSERT_EQ(pairs.size(), 1u);
    const auto read = ReadPair(pairs[0]);
    ASSERT_EQ(read.size(), expected.size());
    size_t k = 0;
    for (const auto& f : frames) {
        if (!f.kept) continue;
        EXPECT_EQ(std::memcmp(&read[k].first.nKeyFrame, &f.head.nKeyFrame, 12), 0) << f.what;
        EXPECT_EQ(read[k].first.nFrameNo, f.head.nFrameNo) << f.what;
        ++k;
    }
}

// A backup cut short says why and what it kept; its pair is closed at once, and frames that
// still come open no other.
TEST_F(BackupWriterTest, ACutBackupSaysWhyAndWhatItKept) {
    const std::string folder = folder_.Path().string();
    const struct {
        std::optional<CBackupWriter::Cut> cut;
        int frames;
        std::string text;
    } cases[] = {
        {std::nullopt, 3, ""},
        {CBackupWriter::Cut::kLinkLost, 3,
         "Backup incomplete: the link to the recorder was lost. 3 frames were kept in " + folder +
             "."},
        {CBackupWriter::Cut::kSilent, 0,
         "Backup incomplete: the recorder sent nothing for 10 s. No frame was kept."},
    };
    for (const auto& c : cases) {
        writer_.SetDirectory(folder);
        writer_.Begin();
        for (int i = 0; i < c.frames; ++i) {
            _NET_FRAME_HEAD_ head = Head('V', 0, 100);
            writer_.Take(head, payload_.data(), true);
        }
        writer_.Finish(c.cut);
        EXPECT_EQ(writer_.Failed(), c.cut.has_value());
        EXPECT_EQ(writer_.IncompleteText(EnglishTexts(), 10000), c.text);
        const auto pairs = Pairs(folder_.Path());
        ASSERT_EQ(pairs.size(), c.frames > 0 ? 1u : 0u);
        if (!pairs.empty()) {
            EXPECT_EQ(ReadPair(pairs[0]).size(), 3u);  // closed: complete
        }
        _NET_FRAME_HEAD_ late = Head('V', 0, 100);
        EXPECT_TRUE(writer_.Take(late, payload_.data(), true));
        writer_.End();
        EXPECT_EQ(Pairs(folder_.Path()).size(), pairs.size());
        for (const auto& index : pairs) {
            EXPECT_EQ(ReadPair(index).size(), 3u);
            fs::remove(index);
            fs::remove(fs::path(index).replace_extension(".qmd"));
        }
    }
}

}  // namespace
