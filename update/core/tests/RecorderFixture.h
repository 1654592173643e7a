#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/netctrl/NetCtrl.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

// One emulated recorder of a given type code on loopback, taking one user at a time: the super
// users ADMIN (password admin) and SUPER2 (super) and the ordinary user USER02 (user).
class RecorderFixture : public ::testing::Test {
protected:
    void StartRecorder(int type_code, bool refuse_shell = false) {
        RecorderConfig config = DefaultRecorderConfig(1, 20000);
        config.type_code = type_code;
        config.loop_frames = 2;
        config.max_users = 1;
        config.refuse_shell = refuse_shell;
        config.users = {{"ADMIN", "admin", 2}, {"SUPER2", "super", 2}, {"USER02", "user", 1}};
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, folder_.Path() / "sandbox", &error)) << error;
        ASSERT_GE(net_.InitNetWork(), 0);
    }
    void LogIn(const char* user = "ADMIN", const char* password = "admin") {
        ASSERT_GE(net_.ConnectToServer("127.0.0.1", emulator_.Port(0), user, password), 0);
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
