#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

#include "AlsaWaveOut.h"

namespace {

using namespace std::chrono_literals;

struct DoneLog {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<const WaveHeader*> headers;

    WaveDoneCallback Callback() {
        return [this](WaveHeader& header) {
            std::lock_guard lock(mutex);
            headers.push_back(&header);
            changed.notify_all();
        };
    }
    bool WaitFor(std::size_t count, std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, limit, [&] { return headers.size() >= count; });
    }
    std::size_t Count() {
        std::lock_guard lock(mutex);
        return headers.size();
    }
};

struct Buffer {
    explicit Buffer(std::size_t length_bytes) : bytes(length_bytes, 0) {
        header.data = bytes.data();
        header.length_bytes = length_bytes;
    }
    std::vector<uint8_t> bytes;
    WaveHeader header;
};

// Plays a few buffers and checks their notifications; works on any device that opened.
void PlayShortBuffers(WaveOutDevice& device, DoneLog& log) {
    Buffer empty(0), short_one(800), odd(1601);  // 0, 50 and 50 ms plus half a frame
    device.Write(empty.header);
    device.Write(short_one.header);
    device.Write(odd.header);
    ASSERT_TRUE(log.WaitFor(3, 5s));
    std::lock_guard lock(log.mutex);
    EXPECT_EQ(log.headers,
              (std::vector<const WaveHeader*>{&empty.header, &short_one.header, &odd.header}));
}

TEST(AlsaWaveOut, DefaultDeviceOpensOrSaysWhyNot) {
    AlsaWaveOut backend;
    DoneLog log;
    std::string error;
    WaveFormat mono;
    auto device = backend.Open(mono, log.Callback(), error);
    if (!device) {
        // Machines without a sound card end here.
        EXPECT_NE(error.find("\"default\""), std::string::npos) << error;
        return;
    }
    EXPECT_TRUE(error.empty());
    PlayShortBuffers(*device, log);
}

TEST(AlsaWaveOut, UnknownDeviceAndUnplayableFormatFail) {
    DoneLog log;
    std::string error;
    AlsaWaveOut missing("no_such_device_here");
    EXPECT_EQ(missing.Open(WaveFormat{}, log.Callback(), error), nullptr);
    EXPECT_NE(error.find("no_such_device_here"), std::string::npos) << error;

    AlsaWaveOut null_device("null");
    WaveFormat three;
    three.channels = 3;
    EXPECT_EQ(null_device.Open(three, log.Callback(), error), nullptr);
    EXPECT_NE(error.find("3 channels"), std::string::npos) << error;
}

TEST(AlsaWaveOut, NullDevicePlaysInOrder) {
    AlsaWaveOut backend("null");
    DoneLog log;
    std::string error;
    WaveFormat stereo;
    stereo.channels = 2;
    auto device = backend.Open(stereo, log.Callback(), error);
    ASSERT_NE(device, nullptr) << error;
    PlayShortBuffers(*device, log);
}

TEST(AlsaWaveOut, ResetAndCloseHandQueuedBuffersBackPromptly) {
    AlsaWaveOut backend("null");
    DoneLog log;
    std::string error;
    auto device = backend.Open(WaveFormat{}, log.Callback(), error);
    ASSERT_NE(device, nullptr) << error;
    std::vector<std::unique_ptr<Buffer>> seconds;
    for (int i = 0; i < 5; ++i) {
        seconds.push_back(std::make_unique<Buffer>(16000));
        device->Write(seconds.back()->header);
    }
    const auto start = std::chrono::steady_clock::now();
    device->Reset();
    EXPECT_EQ(log.Count(), 5u);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s);

    device->Write(seconds[0]->header);
    device->Write(seconds[1]->header);
    device.reset();
    EXPECT_EQ(log.Count(), 7u);
}

}  // namespace
