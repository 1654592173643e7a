#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The whole file, or nothing with the reason in error.
std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path, std::string* error);

// Creates or empties the file and writes data; false with the reason in error.
bool WriteFileBytes(const std::string& path, const void* data, std::size_t size_bytes,
                    std::string* error);
inline bool WriteFileBytes(const std::string& path, std::string_view text, std::string* error) {
    return WriteFileBytes(path, text.data(), text.size(), error);
}
