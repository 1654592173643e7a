#include <gtest/gtest.h>

#include "platform/waveout/ManualClockWaveOut.h"
#include "platform/waveout/tests/DoneLog.h"

namespace {

TEST(ManualClockWaveOut, BuffersFinishInOrderOnTheDeviceThreadAsTheClockReachesTheirEnds) {
    ManualClockWaveOut backend;
    DoneLog log;
    std::string error;
    auto device = backend.Open(WaveFormat{}, log.Callback(), error);
    ASSERT_NE(device, nullptr);
    backend.Advance(5000);                      // idle time is not saved up
    Buffer first(1600), empty(0), second(800);  // 100 ms, 0 ms, 50 ms of mono
    device->Write(first.header);
    device->Write(empty.header);
    device->Write(second.header);

    backend.Advance(60);
    EXPECT_EQ(log.Count(), 0u);
    backend.Advance(40);  // first ends, and the empty one right behind it
    EXPECT_EQ(log.Count(), 2u);
    backend.Advance(49);
    EXPECT_EQ(log.Count(), 2u);
    backend.Advance(1);
    EXPECT_EQ(log.headers,
              (std::vector<const WaveHeader*>{&first.header, &empty.header, &second.header}));
    for (const std::thread::id id : log.threads) {
        EXPECT_NE(id, std::this_thread::get_id());
    }

    device->Write(first.header);
    device->Reset();  // handed back unplayed
    EXPECT_EQ(log.Count(), 4u);
    EXPECT_EQ(backend.Played().size(), 3u);
}

TEST(ManualClockWaveOut, FailingOpensSayWhy) {
    ManualClockWaveOut backend;
    DoneLog log;
    std::string error;
    backend.SetOpenError("no sound card");
    EXPECT_EQ(backend.Open(WaveFormat{}, log.Callback(), error), nullptr);
    EXPECT_EQ(error, "no sound card");
    backend.SetOpenError("");
    WaveFormat eight_bit;
    eight_bit.bits_per_sample = 8;
    EXPECT_EQ(backend.Open(eight_bit, log.Callback(), error), nullptr);
    EXPECT_FALSE(error.empty());
}

}  // namespace
