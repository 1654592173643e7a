#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "platform/records/NetFrameHead.h"

using PairFrame = std::pair<_NET_FRAME_HEAD_, std::vector<uint8_t>>;

// The index files (.qmx) in a folder.
inline std::vector<std::filesystem::path> Pairs(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> indexes;
    if (!std::filesystem::exists(folder)) return indexes;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".qmx") indexes.push_back(entry.path());
    }
    return indexes;
}

// Every indexed frame of a pair with its payload; fails the test on a cut record or a frame
// whose payload is not whole in the data file.
inline std::vector<PairFrame> ReadPair(const std::filesystem::path& index) {
    std::ifstream index_file(index, std::ios::binary);
    const std::vector<char> records{std::istreambuf_iterator<char>(index_file), {}};
    std::filesystem::path data_path = index;
    std::ifstream data_file(data_path.replace_extension(".qmd"), std::ios::binary);
    const std::vector<char> data{std::istreambuf_iterator<char>(data_file), {}};
    std::vector<PairFrame> frames;
    EXPECT_GE(records.size(), 56u) << index;
    EXPECT_EQ((records.size() - 56) % 36, 0u) << index;
    for (size_t at = 56; at + 36 <= records.size(); at += 36) {
        _NET_FRAME_HEAD_ head;
        std::memcpy(&head, records.data() + at, sizeof head);
        if (uint64_t{head.nOffset} + head.nLength > data.size()) {
            ADD_FAILURE() << "frame " << frames.size() << " of " << index << " is cut";
            break;
        }
        frames.emplace_back(head, std::vector<uint8_t>(data.begin() + head.nOffset,
                                                       data.begin() + head.nOffset + head.nLength));
    }
    return frames;
}
