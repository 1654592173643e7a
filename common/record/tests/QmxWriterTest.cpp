#include <cstdlib>
#include <regex>
#include <thread>

#include "common/record/QmxFile.h"
#include "common/record/tests/RecordFolder.h"
#include "tests/support/FileSizeLimit.h"

namespace {

constexpr int32_t k20240131_235959 = 1706745599;

using QmxWriter = RecordFolderTest;

// The first frame names the pair; audio and video frames append with their data offsets.
TEST_F(QmxWriter, FirstFrameNamesThePairAndFramesAppend) {
    std::filesystem::create_directories(folder_ / "rec");
    CQmxFile writer;
    EXPECT_EQ(writer.SetDirectory((folder_ / "rec").string() + "/"), 1);
    const uint32_t lengths[] = {100, 7, 0, 250};
    const char types[] = {'V', 'A', 'V', 'V'};
    std::vector<uint8_t> data;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(writer.IsOpen(), i > 0);
        _NET_FRAME_HEAD_ head = Head(types[i], 3, lengths[i], k20240131_235959 + 7 * i);
        head.nOffset = 0xDEADBEEF;  // as received: overwritten
        head.reserved1[0] = 0x5A;   // kept
        const auto payload = Payload(lengths[i], i);
        ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
        EXPECT_EQ(head.nOffset, data.size());
        data.insert(data.end(), payload.begin(), payload.end());
    }
    EXPECT_EQ(writer.Directory(), (folder_ / "rec").string());
    EXPECT_EQ(writer.Close(), 1);
    EXPECT_EQ(Files(folder_ / "rec"),
              (std::vector<std::string>{"20240131_235959.qmd", "20240131_235959.qmx"}));
    const auto index = ReadAll(folder_ / "rec" / "20240131_235959.qmx");
    ASSERT_EQ(index.size(), 56u + 4 * 36u);
    EXPECT_EQ(std::vector<uint8_t>(index.begin(), index.begin() + 56), std::vector<uint8_t>(56, 0));
    EXPECT_EQ(IndexRecord(index, 1).cType, 'A');
    EXPECT_EQ(IndexRecord(index, 1).nOffset, 100u);
    EXPECT_EQ(IndexRecord(index, 3).nOffset, 107u);
    EXPECT_EQ(IndexRecord(index, 3).reserved1[0], 0x5A);
    EXPECT_EQ(ReadAll(folder_ / "rec" / "20240131_235959.qmd"), data);
}

// Whatever the live check lets through, the pair stays one its own reader takes whole.
TEST_F(QmxWriter, FramesTheReaderWouldRefuseAreNotWrittenButCounted) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    const struct {
        char type;
        int32_t channel;
        int result;
    } frames[] = {{'A', 16, -30}, {'V', 2, 1},   {'A', 255, -30}, {'A', 0, 1},
                  {'V', -1, -30}, {'X', 3, -30}, {'V', 15, 1},    {'V', 15, 1},
                  {'V', 15, 1},   {'V', 15, 1},  {'A', 1, 1}};
    const auto payload = Payload(8, 1);
    for (const auto& f : frames) {
        _NET_FRAME_HEAD_ head = Head(f.type, f.channel, 8, k20240131_235959);
        EXPECT_EQ(writer.WriteFrame(&head, payload.data()), f.result) << f.type << f.channel;
        EXPECT_TRUE(writer.IsOpen() || f.result < 0);  // a refused first frame opens no pair
    }
    EXPECT_EQ(writer.RefusedFrames(), 4);
    writer.Close();

    CQmxFile reader;
    ASSERT_EQ(reader.OpenForRead((folder_ / "20240131_235959.qmx").string()), 1);
    EXPECT_EQ(reader.RecordCount(), 7);
    _NET_FRAME_HEAD_ head{};
    std::vector<uint8_t> read(8);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(reader.ReadFrame(&head, read.data(), 8), 8);
    EXPECT_EQ(reader.ReadFrame(&head, read.data(), 8), 0);
}

TEST_F(QmxWriter, MissingDirectoryFallsBackToHome) {
    const char* old_home = std::getenv("HOME");
    const std::string saved = old_home != nullptr ? old_home : "";
    std::filesystem::create_directories(folder_ / "home");
    setenv("HOME", (folder_ / "home").c_str(), 1);
    {
        CQmxFile writer;
        EXPECT_EQ(writer.Directory(), (folder_ / "home").string());  // a new writer's default
        writer.SetDirectory((folder_ / "missing").string());
        _NET_FRAME_HEAD_ head = Head('V', 0, 4, k20240131_235959);
        const auto payload = Payload(4, 0);
        EXPECT_EQ(writer.WriteFrame(&head, payload.data()), 1);
        EXPECT_EQ(writer.Directory(), (folder_ / "home").string());
    }
    setenv("HOME", saved.c_str(), 1);
    EXPECT_EQ(Files(folder_ / "home"),
              (std::vector<std::string>{"20240131_235959.qmd", "20240131_235959.qmx"}));
}

TEST_F(QmxWriter, PairsOfTheSameSecondGetDistinctNames) {
    const auto payload_a = Payload(50, 1);
    const auto payload_b = Payload(60, 2);
    CQmxFile a;
    CQmxFile b;
    a.SetDirectory(folder_.string());
    b.SetDirectory(folder_.string());
    _NET_FRAME_HEAD_ head_a = Head('V', 0, 50, k20240131_235959);
    _NET_FRAME_HEAD_ head_b = Head('V', 1, 60, k20240131_235959);
    ASSERT_EQ(a.WriteFrame(&head_a, payload_a.data()), 1);
    ASSERT_EQ(b.WriteFrame(&head_b, payload_b.data()), 1);
    ASSERT_EQ(a.WriteFrame(&head_a, payload_a.data()), 1);
    a.Close();
    ASSERT_EQ(a.WriteFrame(&head_a, payload_a.data()), 1);  // same writer, same second
    a.Close();
    b.Close();
    EXPECT_EQ(Files(),
              (std::vector<std::string>{"20240131_235959.qmd", "20240131_235959.qmx",
                                        "20240131_235959_1.qmd", "20240131_235959_1.qmx",
                                        "20240131_235959_2.qmd", "20240131_235959_2.qmx"}));
    EXPECT_EQ(ReadAll(folder_ / "20240131_235959.qmd").size(), 100u);
    EXPECT_EQ(ReadAll(folder_ / "20240131_235959_1.qmd"), payload_b);
    EXPECT_EQ(ReadAll(folder_ / "20240131_235959_2.qmd"), payload_a);

    // A leftover data file without its index is not truncated either.
    std::ofstream(folder_ / "20240131_235959_3.qmd") << "keep";
    ASSERT_EQ(a.WriteFrame(&head_a, payload_a.data()), 1);
    a.Close();
    EXPECT_EQ(ReadAll(folder_ / "20240131_235959_3.qmd").size(), 4u);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "20240131_235959_3.qmx"));
    EXPECT_TRUE(std::filesystem::exists(folder_ / "20240131_235959_4.qmx"));
}

TEST_F(QmxWriter, NegativeFrameTimeIsNamedFromTheClock) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    _NET_FRAME_HEAD_ head = Head('V', 0, 1, -5);
    const auto payload = Payload(1, 0);
    ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
    writer.Close();
    const auto files = Files();
    ASSERT_EQ(files.size(), 2u);
    EXPECT_TRUE(std::regex_match(files[0], std::regex(R"(20\d{6}_\d{6}\.qmd)"))) << files[0];
}

TEST_F(QmxWriter, FailedOpenReturnsMinusOneAndTheNextFrameRetries) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    writer.SetName("missing/name");
    _NET_FRAME_HEAD_ head = Head('V', 0, 3, 0);
    const auto payload = Payload(3, 0);
    EXPECT_EQ(writer.WriteFrame(&head, payload.data()), -1);
    EXPECT_FALSE(writer.IsOpen());
    std::filesystem::create_directories(folder_ / "missing");
    EXPECT_EQ(writer.WriteFrame(&head, payload.data()), 1);
    writer.Close();
    EXPECT_EQ(ReadAll(folder_ / "missing" / "name.qmd"), payload);
    EXPECT_EQ(writer.WriteFrame(nullptr, payload.data()), -1);
    EXPECT_EQ(writer.Create((folder_ / "missing" / "name.qmx").string()), -1);  // exists
}

// A disk that fills in the middle of a frame: the write fails, and the pair left behind holds
// every frame that reached the disk whole, each of which reads back, and indexes no other.
TEST_F(QmxWriter, FullDiskKeepsTheCompleteFramesReadable) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    const auto payload = Payload(3000, 4);
    int written = 0;
    {
        const FileSizeLimit disk(100000);
        for (int result = 1; result == 1 && written < 100;) {
            _NET_FRAME_HEAD_ head = Head('V', 1, 3000, k20240131_235959, written == 0);
            result = writer.WriteFrame(&head, payload.data());
            if (result == 1)
                ++written;
            else
                EXPECT_EQ(result, -30);
        }
        EXPECT_EQ(writer.ErrorNumber(), EFBIG);
        EXPECT_FALSE(writer.IsOpen());
    }
    ASSERT_LT(written, 100);
    CQmxFile reader;
    ASSERT_EQ(reader.OpenForRead((folder_ / "20240131_235959.qmx").string()), 1);
    std::vector<uint8_t> read_back(kMaxRecordedFrameBytes);
    _NET_FRAME_HEAD_ head;
    int frames = 0;
    int result = 0;
    while ((result = reader.ReadFrame(&head, read_back.data(), read_back.size())) > 0) {
        ASSERT_EQ(std::vector<uint8_t>(read_back.begin(), read_back.begin() + result), payload);
        ++frames;
    }
    EXPECT_EQ(result, 0);
    EXPECT_EQ(frames, 100000 / 3000);
}

// 100000-byte frames: 1343 of them take the data file to 134300000 > 128 MiB.
TEST_F(QmxWriter, RollsOverAfterTheFramePastOneHundredTwentyEightMebibytes) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    const auto payload = Payload(100000, 9);
    for (int i = 1; i <= 1343; ++i) {
        _NET_FRAME_HEAD_ head = Head('V', 0, 100000, k20240131_235959);
        ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
        ASSERT_EQ(writer.IsOpen(), i < 1343) << i;
    }
    _NET_FRAME_HEAD_ head = Head('V', 0, 100000, k20240131_235959 + 61);
    ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
    EXPECT_EQ(head.nOffset, 0u);
    writer.Close();
    EXPECT_EQ(std::filesystem::file_size(folder_ / "20240131_235959.qmd"), 134300000u);
    EXPECT_EQ(std::filesystem::file_size(folder_ / "20240131_235959.qmx"), 56u + 1343u * 36u);
    EXPECT_EQ(std::filesystem::file_size(folder_ / "20240201_000100.qmd"), 100000u);
}

TEST_F(QmxWriter, ExactlyOneHundredTwentyEightMebibytesStaysOpen) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    const auto payload = Payload(262144, 3);
    for (int i = 0; i < 512; ++i) {
        _NET_FRAME_HEAD_ head = Head('V', 0, 262144, 0);
        ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
    }
    EXPECT_TRUE(writer.IsOpen());
    _NET_FRAME_HEAD_ head = Head('A', 0, 1, 0);
    ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
    EXPECT_FALSE(writer.IsOpen());
}

// The window thread closes the recording while the frame thread writes.
TEST_F(QmxWriter, CloseFromAnotherThreadWhileWriting) {
    CQmxFile writer;
    writer.SetDirectory(folder_.string());
    const auto payload = Payload(1000, 5);
    std::thread frames([&] {
        for (int i = 0; i < 2000; ++i) {
            _NET_FRAME_HEAD_ head = Head('V', 0, 1000, k20240131_235959);
            ASSERT_EQ(writer.WriteFrame(&head, payload.data()), 1);
        }
    });
    for (int i = 0; i < 50; ++i) {
        writer.Close();
        writer.SetDirectory(folder_.string());
        std::this_thread::yield();
    }
    frames.join();
    writer.Close();
    uintmax_t data_bytes = 0;
    uintmax_t records = 0;
    for (const auto& name : Files()) {
        const auto size = std::filesystem::file_size(folder_ / name);
        if (name.ends_with(".qmd")) {
            data_bytes += size;
        } else {
            records += (size - 56) / 36;
        }
    }
    EXPECT_EQ(data_bytes, 2000u * 1000u);
    EXPECT_EQ(records, 2000u);
}

}  // namespace
