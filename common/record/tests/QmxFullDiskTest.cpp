// The writer on a disk that really fills up: the data file and the index share the space.
#include <map>

#include "common/record/QmxFile.h"
#include "common/record/tests/RecordFolder.h"
#include "tests/support/PairFrames.h"
#include "tests/support/SmallDisk.h"

namespace {

[[maybe_unused]] const bool kPrivateMounts = SmallDisk::EnterPrivateMounts();

using QmxFullDisk = RecordFolderTest;

// Every frame WriteFrame accepted is in a pair and reads back whole; frames after the disk
// filled are refused and leave no empty files behind.
TEST_F(QmxFullDisk, EveryAcceptedFrameIsKept) {
    const struct {
        std::size_t disk_bytes;
        uint32_t smallest_frame, largest_frame;
    } cases[] = {
        {3u << 20, 10000, 60000},    {3u << 20, 40000, 40000}, {1u << 20, 1000, 5000},
        {512u << 10, 20000, 300000}, {256u << 10, 100, 900},   {64u << 10, 3000, 3000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.disk_bytes) + " bytes, frames " +
                     std::to_string(c.smallest_frame) + ".." + std::to_string(c.largest_frame));
        const SmallDisk disk(folder_ / "disk", c.disk_bytes);
        ASSERT_TRUE(disk.Mounted()) << disk.Error();
        CQmxFile writer;
        writer.SetDirectory(disk.Path().string());
        std::map<uint32_t, std::vector<uint8_t>> accepted;  // by the frame's number
        int failures = 0;
        for (uint32_t frame = 0; failures < 20 && frame < 100000; ++frame) {
            const uint32_t span = c.largest_frame - c.smallest_frame + 1;
            const uint32_t length = c.smallest_frame + frame * 7919 % span;
            _NET_FRAME_HEAD_ head = Head(frame % 5 == 4 ? 'A' : 'V', 1, length, 1706745599);
            head.nFrameNo = static_cast<int32_t>(frame);
            const auto payload = Payload(length, static_cast<int>(frame));
            const int result = writer.WriteFrame(&head, payload.data());
            if (result == 1) {
                accepted[frame] = payload;
            } else {
                EXPECT_TRUE(result == -30 || result == -1) << result;
                EXPECT_EQ(writer.ErrorNumber(), ENOSPC);
                ++failures;
            }
        }
        writer.Close();
        ASSERT_EQ(failures, 20);
        EXPECT_GT(accepted.size(), 0u);

        std::size_t kept = 0;
        for (const auto& index : Pairs(disk.Path())) {
            auto data = index;
            EXPECT_TRUE(std::filesystem::exists(data.replace_extension(".qmd"))) << index;
            const auto frames = ReadPair(index);
            EXPECT_FALSE(frames.empty()) << index << " holds no frame";
            for (const auto& [head, payload] : frames) {
                const auto found = accepted.find(static_cast<uint32_t>(head.nFrameNo));
                ASSERT_NE(found, accepted.end()) << "frame " << head.nFrameNo << " was refused";
                EXPECT_EQ(payload, found->second) << "frame " << head.nFrameNo;
                ++kept;
            }
            if (frames.size() >= 7) {
                CQmxFile reader;
                EXPECT_EQ(reader.OpenForRead(index.string()), 1);
                EXPECT_EQ(reader.RecordCount(), static_cast<int>(frames.size()));
            }
        }
        EXPECT_EQ(kept, accepted.size());
        EXPECT_EQ(Files(disk.Path()).size(), 2 * Pairs(disk.Path()).size());
    }
}

}  // namespace
