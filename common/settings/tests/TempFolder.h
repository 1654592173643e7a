#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/TestFolder.h"

// A program folder of its own per test, with the config and language folders.
class TempFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(folder_ / "config");
        std::filesystem::create_directories(folder_ / "language");
    }

    void WriteFile(const std::string& relative, const std::string& text) {
        std::ofstream(folder_ / relative, std::ios::binary) << text;
    }

    std::string ReadFile(const std::string& relative) {
        std::ifstream in(folder_ / relative, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    TestFolder test_folder_;
    const std::filesystem::path folder_ = test_folder_.Path();
};
