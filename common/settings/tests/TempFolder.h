#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

// A program folder of its own per test, removed afterwards.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("settings_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_ / "config");
        std::filesystem::create_directories(folder_ / "language");
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void WriteFile(const std::string& relative, const std::string& text) {
        std::ofstream(folder_ / relative, std::ios::binary) << text;
    }

    std::filesystem::path folder_;
};
