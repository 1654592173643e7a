#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "platform/netctrl/NetCtrl.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TestFolder.h"
#include "tools/lookup-server/LookupServer.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

// Recorders of the emulator on loopback for the playback program's tests.
class PlaybackEmulator : public ::testing::Test {
protected:
    static constexpr int64_t kDay = 14484;       // 28 August 2009
    static constexpr int32_t kDayKey = 1090728;  // the same day for a record search
    static constexpr std::time_t kDayStart = 1251417600;

    static RecorderConfig Recorder(int channels) {
        RecorderConfig config = DefaultRecorderConfig(channels, kDay);
        config.loop_frames = 5;
        config.first_record_day = kDay - 2;
        config.last_record_day = kDay;
        return config;
    }

    void Start(std::vector<RecorderConfig> configs, bool lookup = false) {
        std::string error;
        ASSERT_TRUE(emulator_.Start(configs, folder_.Path() / "sandbox", &error)) << error;
        if (lookup) {
            ASSERT_TRUE(emulator_.StartLookup(0, &error)) << error;
        }
    }
    PlaybackEmulator() { std::filesystem::create_directories(folder_.Path() / "config"); }
    void TearDown() override { emulator_.Stop(); }

    std::string Server(size_t recorder = 0) const {
        return "127.0.0.1:" + std::to_string(emulator_.Port(recorder));
    }

    TestFolder folder_;
    RecorderEmulator emulator_;  // stops before its folder goes
};
