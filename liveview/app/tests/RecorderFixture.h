#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "liveview/manager/tests/ManagerFixture.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

// A device manager of its own and emulated recorders on loopback.
class RecorderFixture : public ManagerFixture {
protected:
    void TearDown() override {
        if (manager_) manager_->Shutdown();
        manager_.reset();
        emulator_.Stop();
    }

    static RecorderConfig Recorder() {
        return DefaultRecorderConfig(4, std::time(nullptr) / 86400);
    }

    void StartRecorders(const std::vector<RecorderConfig>& configs) {
        std::string error;
        ASSERT_TRUE(emulator_.Start(configs, folder_ / "sandbox", &error)) << error;
    }

    // Adds a device for the recorder, starts and logs it in, as the super user "admin"
    // unless told; the device's slot.
    int Connect(std::size_t recorder, const std::string& user = "admin") {
        const int a = manager_->GetDvrCount();
        const std::string address = "127.0.0.1:" + std::to_string(emulator_.Port(recorder));
        EXPECT_EQ(manager_->AddDvr(address, "6802", user, user, "dvr" + std::to_string(a)), 1);
        EXPECT_EQ(manager_->StartDvrNetwork(a), 1);
        EXPECT_GE(manager_->ConnectDvr(a), 0);
        return a;
    }

    RecorderEmulator emulator_;
};
