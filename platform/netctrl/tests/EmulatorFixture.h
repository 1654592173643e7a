#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/tests/NetTestSupport.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

// The recorder emulator on loopback, with one small recorder per config.
class EmulatorFixture : public ::testing::Test {
protected:
    static constexpr int64_t kDay = 14484;  // 28 August 2009
    static constexpr int32_t kDayKey = 1090728;

    static RecorderConfig SmallRecorder(int channels) {
        RecorderConfig config = DefaultRecorderConfig(channels, kDay);
        config.loop_frames = 5;
        config.max_users = 2;
        config.audio_mask = 0x2;
        config.first_record_day = config.last_record_day = kDay;
        return config;
    }

    // Limits for a recorder that answers: the emulator shares the machine with the rest of a
    // loaded test run (and a sanitizer), so nothing but a fault may run into them. Keep-alives
    // stay frequent, so an idle link is exercised too.
    static NetTimeouts AnsweringTimeouts() {
        NetTimeouts t;
        t.connect_ms = 20000;
        t.exchange_ms = 20000;
        t.logout_ms = 2000;
        t.keepalive_ms = 200;
        t.silence_ms = 20000;
        t.frame_wait_ms = 5000;
        return t;
    }

    // Waits until the recorder's connections have committed fault, as its journal says.
    bool Committed(Fault fault, size_t recorder = 0) {
        return PollUntil(
            [&] {
                const std::vector<Fault> faults = emulator_.Journal(recorder).faults;
                return std::find(faults.begin(), faults.end(), fault) != faults.end();
            },
            20000);
    }

    void Start(std::vector<RecorderConfig> configs) {
        std::string error;
        ASSERT_TRUE(emulator_.Start(configs, sandbox_, &error)) << error;
    }
    void TearDown() override { emulator_.Stop(); }
    int LogIn(NetCtrl& net, const char* user = "admin", const char* password = "admin",
              size_t recorder = 0) {
        net.InitNetWork();
        return net.ConnectToServer("127.0.0.1", emulator_.Port(recorder), user, password);
    }

    TestFolder test_folder_;
    const std::filesystem::path sandbox_ = test_folder_.Path();
    RecorderEmulator emulator_;  // stops before its folder goes
};
