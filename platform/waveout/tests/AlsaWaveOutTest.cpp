#include <gtest/gtest.h>

#include "platform/waveout/AlsaWaveOut.h"
#include "platform/waveout/tests/DoneLog.h"

namespace {

using namespace std::chrono_literals;

// Plays a few short buffers and checks their notifications; any device that opened will do.
void PlayShortBuffers(WaveOutDevice& device, DoneLog& log) {
    Buffer empty(0), short_one(800), odd(1601);  // the last ends in half a frame
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
    auto device = backend.Open(WaveFormat{}, log.Callback(), error);
    if (!device) {
        // Machines without a sound card end here.
        EXPECT_NE(error.find("\"default\""), std::string::npos) << error;
        return;
    }
    PlayShortBuffers(*device, log);
}

TEST(AlsaWaveOut, UnknownDeviceAndUnplayableFormatFail) {
    DoneLog log;
    std::string error;
    AlsaWaveOut missing("no_such_device_here");
    EXPECT_EQ(missing.Open(WaveFormat{}, log.Callback(), error), nullptr);
    EXPECT_NE(error.find("no_such_device_here"), std::string::npos) << error;

    WaveFormat three;
    three.channels = 3;
    EXPECT_EQ(AlsaWaveOut("null").Open(three, log.Callback(), error), nullptr);
    EXPECT_NE(error.find("3 channels"), std::string::npos) << error;
}

TEST(AlsaWaveOut, NullDevicePlaysInOrder) {
    DoneLog log;
    std::string error;
    WaveFormat stereo;
    stereo.channels = 2;
    auto device = AlsaWaveOut("null").Open(stereo, log.Callback(), error);
    ASSERT_NE(device, nullptr) << error;
    PlayShortBuffers(*device, log);
}

TEST(AlsaWaveOut, ResetAndCloseHandQueuedBuffersBackPromptly) {
    DoneLog log;
    std::string error;
    auto device = AlsaWaveOut("null").Open(WaveFormat{}, log.Callback(), error);
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
