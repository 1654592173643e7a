#include "tools/recorder-emulator/UploadFile.h"

#include <unistd.h>

#include <atomic>

UploadFile::UploadFile(std::filesystem::path target, uint64_t size_bytes)
    : target_(std::move(target)), size_bytes_(size_bytes) {
    static std::atomic<uint64_t> serial{0};
    temporary_ = target_;
    temporary_ += ".part-" + std::to_string(::getpid()) + "-" + std::to_string(serial++);
}

UploadFile::~UploadFile() {
    out_.close();
    if (!done_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

bool UploadFile::Open(std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(target_.parent_path(), ec);
    if (ec) {
        *error = target_.parent_path().string() + ": " + ec.message();
        return false;
    }
    if (std::filesystem::is_directory(target_, ec)) {
        *error = target_.string() + " is a folder";
        return false;
    }
    out_.open(temporary_, std::ios::binary | std::ios::trunc);
    if (!out_) {
        *error = temporary_.string() + ": cannot be written";
        return false;
    }
    return true;
}

bool UploadFile::Append(const uint8_t* data, size_t size_bytes) {
    if (size_bytes > size_bytes_ - received_bytes_) return false;
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size_bytes));
    received_bytes_ += size_bytes;
    return static_cast<bool>(out_);
}

bool UploadFile::Finish(std::string* error) {
    out_.close();
    if (!out_ || received_bytes_ != size_bytes_) {
        *error = "received " + std::to_string(received_bytes_) + " of " +
                 std::to_string(size_bytes_) + " bytes";
        return false;
    }
    std::error_code ec;
    std::filesystem::rename(temporary_, target_, ec);
    if (ec) {
        *error = target_.string() + ": " + ec.message();
        return false;
    }
    done_ = true;
    return true;
}
