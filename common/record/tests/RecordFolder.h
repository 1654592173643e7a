#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/records/NetFrameHead.h"
#include "tests/support/TestFolder.h"

// A record directory of its own per test, removed afterwards.
class RecordFolderTest : public ::testing::Test {
protected:
    static _NET_FRAME_HEAD_ Head(char type, int channel, uint32_t length, int32_t time = 0,
                                 int key = 0) {
        _NET_FRAME_HEAD_ head{};
        head.cType = type;
        head.nChannel = channel;
        head.nLength = length;
        head.nTime = time;
        head.nKeyFrame = key;
        return head;
    }

    static std::vector<uint8_t> Payload(uint32_t length, int seed) {
        std::vector<uint8_t> bytes(length);
        for (uint32_t i = 0; i < length; ++i) {
            bytes[i] = static_cast<uint8_t>(seed * 31 + i);
        }
        return bytes;
    }

    static std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    static _NET_FRAME_HEAD_ IndexRecord(const std::vector<uint8_t>& index, int k) {
        _NET_FRAME_HEAD_ head;
        std::memcpy(&head, index.data() + 56 + 36 * k, sizeof head);
        return head;
    }

    // Names of the files in the folder, sorted.
    std::vector<std::string> Files(const std::filesystem::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }
    std::vector<std::string> Files() const { return Files(folder_); }

    TestFolder test_folder_;
    const std::filesystem::path folder_ = test_folder_.Path();
};
