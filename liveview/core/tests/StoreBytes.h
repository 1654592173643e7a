#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

// Reading and patching store bytes at their file offsets.
inline int32_t Int32At(const std::vector<uint8_t>& bytes, std::size_t offset) {
    int32_t value;
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

inline void PutInt32(std::vector<uint8_t>& bytes, std::size_t offset, int32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof(value));
}

inline std::string BytesAt(const std::vector<uint8_t>& bytes, std::size_t offset,
                           std::size_t count) {
    return std::string(reinterpret_cast<const char*>(bytes.data() + offset), count);
}

inline void PutBytes(std::vector<uint8_t>& bytes, std::size_t offset, const std::string& text) {
    std::memcpy(bytes.data() + offset, text.data(), text.size());
}

constexpr std::size_t kRecordBytes = 664;
constexpr std::size_t kRecordDirectoryAt = 42496;
constexpr std::size_t kAdminPasswordAt = 42752;
constexpr std::size_t kUserPasswordAt = 42852;
constexpr std::size_t kPasswordFlagAt = 42952;
constexpr std::size_t kWindowMapAt = 42953;
constexpr std::size_t kStoreBytes = 43977;
