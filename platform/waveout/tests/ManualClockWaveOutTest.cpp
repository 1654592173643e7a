#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "ManualClockWaveOut.h"

namespace {

// Collects done notifications and the thread they came from.
struct DoneLog {
    std::mutex mutex;
    std::vector<const WaveHeader*> headers;
    std::vector<std::thread::id> threads;

    WaveDoneCallback Callback() {
        return [this](WaveHeader& header) {
            std::lock_guard lock(mutex);
            headers.push_back(&header);
            threads.push_back(std::this_thread::get_id());
        };
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return headers.size();
    }
};

struct Buffer {
    explicit Buffer(std::size_t length_bytes) : bytes(length_bytes, 0x11) {
        header.data = bytes.data();
        header.length_bytes = length_bytes;
    }
    std::vector<uint8_t> bytes;
    WaveHeader header;
};

std::unique_ptr<WaveOutDevice> OpenDevice(ManualClockWaveOut& backend, DoneLog& log,
                                          int channels = 1) {
    WaveFormat format;
    format.channels = channels;
    std::string error;
    auto device = backend.Open(format, log.Callback(), error);
    EXPECT_NE(device, nullptr) << error;
    return device;
}

TEST(ManualClockWaveOut, BuffersFinishInOrderAsTheClockReachesTheirEnds) {
    ManualClockWaveOut backend;
    DoneLog log;
    auto device = OpenDevice(backend, log);
    Buffer first(1600), empty(0), second(800);  // 100 ms, 0 ms, 50 ms
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
    ASSERT_EQ(log.Count(), 3u);
    EXPECT_EQ(log.headers,
              (std::vector<const WaveHeader*>{&first.header, &empty.header, &second.header}));
    for (const std::thread::id id : log.threads) {
        EXPECT_NE(id, std::this_thread::get_id());
    }
    EXPECT_EQ(backend.Played().size(), 3u);
}

TEST(ManualClockWaveOut, IdleTimeIsNotSavedUpAndStereoTakesTwiceTheBytes) {
    ManualClockWaveOut backend;
    DoneLog log;
    auto device = OpenDevice(backend, log, 2);
    backend.Advance(5000);
    Buffer block(1600);  // 50 ms of stereo, 100 ms of mono
    device->Write(block.header);
    backend.Advance(49);
    EXPECT_EQ(log.Count(), 0u);
    backend.Advance(1);
    EXPECT_EQ(log.Count(), 1u);
}

TEST(ManualClockWaveOut, ResetHandsEveryQueuedBufferBackUnplayed) {
    ManualClockWaveOut backend;
    DoneLog log;
    auto device = OpenDevice(backend, log);
    Buffer a(1600), b(1600);
    device->Write(a.header);
    device->Write(b.header);
    backend.Advance(50);
    device->Reset();
    EXPECT_EQ(log.Count(), 2u);
    EXPECT_TRUE(backend.Played().empty());

    // The clock starts afresh with the next buffer.
    device->Write(a.header);
    backend.Advance(99);
    EXPECT_EQ(log.Count(), 2u);
    backend.Advance(1);
    EXPECT_EQ(log.Count(), 3u);
}

TEST(ManualClockWaveOut, ClosingWithQueuedBuffersSendsTheirNotifications) {
    ManualClockWaveOut backend;
    DoneLog log;
    Buffer a(1600);
    {
        auto device = OpenDevice(backend, log);
        device->Write(a.header);
        EXPECT_EQ(backend.OpenDevices(), 1);
    }
    EXPECT_EQ(backend.OpenDevices(), 0);
    EXPECT_EQ(log.Count(), 1u);
    backend.Advance(100);  // nothing left to reach
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
    EXPECT_NE(backend.Open(WaveFormat{}, log.Callback(), error), nullptr);
}

}  // namespace
