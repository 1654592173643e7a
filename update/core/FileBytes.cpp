#include "update/core/FileBytes.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using File = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

std::string Reason(const std::string& path) { return path + ": " + std::strerror(errno); }

}  // namespace

std::optional<std::vector<std::uint8_t>> ReadFileBytes(const std::string& path,
                                                       std::string* error) {
    File file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        *error = Reason(path);
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t block[65536];
    std::size_t got = 0;
    while ((got = std::fread(block, 1, sizeof block, file.get())) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    if (std::ferror(file.get())) {
        *error = Reason(path);
        return std::nullopt;
    }
    return bytes;
}

bool WriteFileBytes(const std::string& path, const void* data, std::size_t size_bytes,
                    std::string* error) {
    File file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file) {
        *error = Reason(path);
        return false;
    }
    if (std::fwrite(data, 1, size_bytes, file.get()) != size_bytes ||
        std::fflush(file.get()) != 0) {
        *error = Reason(path);
        return false;
    }
    return true;
}
