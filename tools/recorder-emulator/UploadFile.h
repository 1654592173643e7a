#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

// A file arriving in pieces. It is written beside its place under a temporary name and
// moved there only when complete, so a broken transfer leaves no partial file behind.
class UploadFile {
public:
    UploadFile(std::filesystem::path target, uint64_t size_bytes);
    ~UploadFile();
    UploadFile(UploadFile&&) = delete;

    bool Open(std::string* error);
    // False when the piece would pass the announced size or cannot be written.
    bool Append(const uint8_t* data, size_t size_bytes);
    // Moves the file into place when exactly the announced size arrived.
    bool Finish(std::string* error);

    const std::filesystem::path& Target() const { return target_; }
    uint64_t SizeBytes() const { return size_bytes_; }

private:
    std::filesystem::path target_;
    std::filesystem::path temporary_;
    uint64_t size_bytes_;
    uint64_t received_bytes_ = 0;
    std::ofstream out_;
    bool done_ = false;
};
