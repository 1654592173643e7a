#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "liveview/manager/DvrManager.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TestFolder.h"

// A manager of its own per test: audio on a test clock, the store and recordings in a folder
// removed afterwards, and short time limits.
class ManagerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_ / "records");
        options_.net_timeouts.connect_ms = 2000;
        options_.net_timeouts.exchange_ms = 2000;
        options_.net_timeouts.logout_ms = 200;
        options_.lookup_timeouts = {2000, 2000, 2000};
        NewManager();
    }

    void TearDown() override { manager_.reset(); }

    void NewManager() {
        manager_.reset();
        manager_ = std::make_unique<CDvrManager>(audio_, StorePath(), options_);
        manager_->SetMessageSink([this](const std::string& text) {
            std::lock_guard lock(messages_mutex_);
            messages_.push_back(text);
        });
    }

    std::string StorePath() const { return (folder_ / "uss.dat").string(); }
    std::string RecordFolder() const { return (folder_ / "records").string(); }

    std::vector<std::string> Messages() {
        std::lock_guard lock(messages_mutex_);
        return messages_;
    }

    TestFolder test_folder_;
    const std::filesystem::path folder_ = test_folder_.Path();
    DvrManagerOptions options_;
    ManualClockWaveOut audio_;
    std::unique_ptr<CDvrManager> manager_;
    std::mutex messages_mutex_;
    std::vector<std::string> messages_;
};
