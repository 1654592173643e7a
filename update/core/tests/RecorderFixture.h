#pragma once

#include <gtest/gtest.h>

#include <string>

#include "NetCtrl.h"
#include "RecorderEmulator.h"
#include "TestFolder.h"

// One emulated recorder of the given type code on loopback, with the tool logged in as its
// super user.
class RecorderFixture : public ::testing::Test {
protected:
    void StartRecorder(int type_code) {
        RecorderConfig config = DefaultRecorderConfig(1, 20000);
        config.type_code = type_code;
        config.loop_frames = 2;
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, folder_.Path() / "sandbox", &error)) << error;
        ASSERT_GE(net_.InitNetWork(), 0);
        ASSERT_GE(net_.ConnectToServer("127.0.0.1", emulator_.Port(0), "admin", "admin"), 0);
    }
    void TearDown() override {
        net_.StopNetWork();
        emulator_.Stop();
    }

    std::vector<std::string> Uploads() const {
        std::vector<std::string> paths;
        for (const UploadedFile& file : emulator_.Journal(0).uploads) {
            paths.push_back(file.remote_path);
        }
        return paths;
    }

    TestFolder folder_;
    RecorderEmulator emulator_;
    NetCtrl net_;
};
