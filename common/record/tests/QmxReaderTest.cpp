#include "common/record/QmxFile.h"
#include "common/record/tests/RecordFolder.h"

namespace {

class QmxReader : public RecordFolderTest {
protected:
    // Writes a pair by hand: the records with offsets of back-to-back payloads.
    std::string WritePair(std::vector<_NET_FRAME_HEAD_> records, size_t extra_index_bytes = 0) {
        const std::string index_path = (folder_ / "pair.qmx").string();
        std::ofstream index(index_path, std::ios::binary);
        std::ofstream data(folder_ / "pair.qmd", std::ios::binary);
        const std::vector<char> head(56, 0);
        index.write(head.data(), head.size());
        uint32_t offset = 0;
        for (size_t k = 0; k < records.size(); ++k) {
            records[k].nOffset = offset;
            records[k].nFrameNo = static_cast<int32_t>(k);  // tells records apart
            index.write(reinterpret_cast<const char*>(&records[k]), sizeof records[k]);
            const uint32_t length = records[k].cType == 'X' ? 0 : records[k].nLength;
            const auto payload = Payload(length, static_cast<int>(k));
            data.write(reinterpret_cast<const char*>(payload.data()), payload.size());
            offset += length;
        }
        const std::vector<char> tail(extra_index_bytes, 0);
        index.write(tail.data(), tail.size());
        return index_path;
    }

    // Reads until the end; the frame numbers of the records returned.
    static std::vector<int> ReadAllFrames(CQmxFile& reader, std::vector<int>* results = nullptr) {
        std::vector<int> frames;
        std::vector<uint8_t> payload(kMaxRecordedFrameBytes);
        for (int guard = 0; guard < 1000; ++guard) {
            _NET_FRAME_HEAD_ head{};
            const int result = reader.ReadFrame(&head, payload.data(), payload.size());
            if (results != nullptr) {
                results->push_back(result);
            }
            if (result == 0) {
                break;
            }
            if (result > 0) {
                EXPECT_EQ(std::vector<uint8_t>(payload.begin(), payload.begin() + result),
                          Payload(head.nLength, head.nFrameNo));
                frames.push_back(head.nFrameNo);
            }
        }
        return frames;
    }

    std::vector<_NET_FRAME_HEAD_> Records(int count) {
        std::vector<_NET_FRAME_HEAD_> records;
        for (int k = 0; k < count; ++k) {
            records.push_back(Head('V', 0, 10 + k % 7, 0, k % 10 == 0));
        }
        return records;
    }
};

TEST_F(QmxReader, IndexNeedsThreeHundredBytes) {
    CQmxFile reader;
    EXPECT_EQ(reader.OpenForRead((folder_ / "none.qmx").string()), -1);
    // 56 + 6 x 36 = 272; 27 more bytes make 299, 28 make 300.
    EXPECT_EQ(reader.OpenForRead(WritePair(Records(6), 27)), -1);
    EXPECT_EQ(reader.OpenForRead(WritePair(Records(6), 28)), 1);
    EXPECT_EQ(reader.RecordCount(), 6);  // the partial record is ignored
    EXPECT_EQ(ReadAllFrames(reader), (std::vector<int>{0, 1, 2, 3, 4, 5}));
    std::filesystem::remove(folder_ / "pair.qmd");
    EXPECT_EQ(reader.OpenForRead((folder_ / "pair.qmx").string()), -1);
}

TEST_F(QmxReader, ScanCountsOnlyTheSixteenChannels) {
    std::vector<_NET_FRAME_HEAD_> records = Records(8);
    records[0].nChannel = 5;
    records[1].nChannel = 3;
    records[2].nChannel = 3;
    records[3].nChannel = 16;  // beyond the tables
    records[4].nChannel = -2;  // likewise
    records[5].cType = 'A';
    records[5].nChannel = 0;        // audio marks no channel
    records[6].nChannel = 1000000;  // far beyond
    records[7].nChannel = 5;
    CQmxFile reader;
    ASSERT_EQ(reader.OpenForRead(WritePair(records)), 1);
    EXPECT_EQ(reader.CurrentChannel(), 3);
    EXPECT_EQ(reader.ChannelFrames(3), 2);
    EXPECT_EQ(reader.ChannelFrames(5), 2);
    EXPECT_FALSE(reader.ChannelPresent(0));
    EXPECT_TRUE(reader.AudioPresent());
    int total = 0;
    for (int channel = 0; channel < 16; ++channel) {
        total += reader.ChannelFrames(channel);
    }
    EXPECT_EQ(total, 4);

    CQmxFile audio_only;
    std::vector<_NET_FRAME_HEAD_> audio(7, Head('A', 0, 5));
    ASSERT_EQ(audio_only.OpenForRead(WritePair(audio)), 1);
    EXPECT_EQ(audio_only.CurrentChannel(), 15);
}

TEST_F(QmxReader, SelectedChannelSkipsOtherVideoButNotAudio) {
    std::vector<_NET_FRAME_HEAD_> records = Records(8);
    for (int k : {1, 4, 6}) {
        records[k].nChannel = 2;
    }
    records[5].cType = 'A';
    records[5].nChannel = 9;
    CQmxFile reader;
    ASSERT_EQ(reader.OpenForRead(WritePair(records)), 1);
    EXPECT_EQ(reader.SelectChannel(4), -1);  // not present: nothing changes
    EXPECT_EQ(reader.SelectChannel(0), -1);
    EXPECT_EQ(reader.SelectChannel(17), -1);
    EXPECT_EQ(reader.CurrentChannel(), 0);
    EXPECT_EQ(reader.SelectChannel(3), 1);
    EXPECT_EQ(reader.CurrentChannel(), 2);
    EXPECT_EQ(ReadAllFrames(reader), (std::vector<int>{1, 4, 5, 6}));
    EXPECT_EQ(reader.GetProgress(), 100);

    ASSERT_EQ(reader.OpenForRead((folder_ / "pair.qmx").string()), 1);
    reader.SelectChannel(3);
    EXPECT_EQ(reader.SelectChannel(-1), -1);  // back to all channels
    EXPECT_EQ(ReadAllFrames(reader).size(), 8u);
}

TEST_F(QmxReader, InvalidRecordsAreSkippedWithMinusThirty) {
    std::vector<_NET_FRAME_HEAD_> records = Records(8);
    records[2].cType = 'X';
    records[4].nLength = kMaxRecordedFrameBytes + 1;
    records[7].nChannel = 16;  // the last one
    CQmxFile reader;
    ASSERT_EQ(reader.OpenForRead(WritePair(records)), 1);
    std::vector<int> results;
    EXPECT_EQ(ReadAllFrames(reader, &results), (std::vector<int>{0, 1, 3, 5, 6}));
    EXPECT_EQ(results, (std::vector<int>{10, 11, -30, 13, -30, 15, 16, 0}));
    EXPECT_EQ(CQmxFile::CheckFrameHead(Head('A', 15, kMaxRecordedFrameBytes)), 1);
    EXPECT_EQ(CQmxFile::CheckFrameHead(Head('V', -1, 1)), -30);
}

TEST_F(QmxReader, PayloadThatCannotBeReadGivesMinusTwentyAndStays) {
    std::vector<_NET_FRAME_HEAD_> records = Records(7);
    CQmxFile reader;
    const std::string path = WritePair(records);
    std::filesystem::resize_file(folder_ / "pair.qmd", 10 + 11 + 5);  // record 2 is cut short
    ASSERT_EQ(reader.OpenForRead(path), 1);
    std::vector<uint8_t> payload(64);
    _NET_FRAME_HEAD_ head;
    EXPECT_EQ(reader.ReadFrame(&head, payload.data(), payload.size()), 10);
    EXPECT_EQ(reader.ReadFrame(&head, payload.data(), 5), -20);  // does not fit the buffer
    EXPECT_EQ(reader.ReadFrame(&head, payload.data(), payload.size()), 11);
    EXPECT_EQ(reader.ReadFrame(&head, payload.data(), payload.size()), -20);
    EXPECT_EQ(reader.ReadFrame(&head, payload.data(), payload.size()), -20);
    EXPECT_EQ(reader.GetProgress(), 2 * 100 / 7);
}

TEST_F(QmxReader, SeekUsesSinglePrecisionPercentAndKeyFrames) {
    CQmxFile reader;
    EXPECT_EQ(reader.GetProgress(), 0);  // nothing open
    ASSERT_EQ(reader.OpenForRead(WritePair(Records(200))), 1);
    reader.SeekPercent(50);  // record 99, key frames every 10 records: 90
    EXPECT_EQ(reader.GetProgress(), 45);
    EXPECT_EQ(reader.IsSeekTargetReached(), 0);
    std::vector<uint8_t> payload(64);
    _NET_FRAME_HEAD_ head;
    for (int k = 90; k < 99; ++k) {
        ASSERT_GT(reader.ReadFrame(&head, payload.data(), payload.size()), 0);
        EXPECT_EQ(head.nFrameNo, k);
        EXPECT_EQ(reader.IsSeekTargetReached(), k == 98 ? 1 : 0) << k;
    }
    EXPECT_EQ(reader.IsSeekTargetReached(), 0);  // forgotten once reached

    reader.SeekPercent(0);
    EXPECT_EQ(reader.GetProgress(), 0);
    EXPECT_EQ(reader.IsSeekTargetReached(), 1);
    reader.SeekPercent(100);
    ASSERT_GT(reader.ReadFrame(&head, payload.data(), payload.size()), 0);
    EXPECT_EQ(head.nFrameNo, 190);
    reader.SeekPercent(1e9);  // held to the last record
    ASSERT_GT(reader.ReadFrame(&head, payload.data(), payload.size()), 0);
    EXPECT_EQ(head.nFrameNo, 190);
}

TEST_F(QmxReader, SeekWithAChannelFindsThatChannelsKeyFrame) {
    std::vector<_NET_FRAME_HEAD_> records = Records(20);
    records[10].nChannel = 1;  // the key frame at 10 belongs to another channel
    records[3].nKeyFrame = 1;
    CQmxFile reader;
    ASSERT_EQ(reader.OpenForRead(WritePair(records)), 1);
    reader.SeekPercent(75);  // record 14
    std::vector<uint8_t> payload(64);
    _NET_FRAME_HEAD_ head;
    ASSERT_GT(reader.ReadFrame(&head, payload.data(), payload.size()), 0);
    EXPECT_EQ(head.nFrameNo, 10);
    ASSERT_EQ(reader.SelectChannel(2), 1);  // channel 1
    reader.SeekPercent(75);
    ASSERT_GT(reader.ReadFrame(&head, payload.data(), payload.size()), 0);
    EXPECT_EQ(head.nFrameNo, 10);
    ASSERT_EQ(reader.SelectChannel(1), 1);  // channel 0
    reader.SeekPercent(75);
    ASSERT_GT(reader.ReadFrame(&head, payload.data(), payload.size()), 0);
    EXPECT_EQ(head.nFrameNo, 3);
}

}  // namespace
