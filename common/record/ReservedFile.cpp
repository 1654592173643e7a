#include "common/record/ReservedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

// write() until every byte is written; false (errno set) when the file system takes no more.
bool WriteAll(int fd, const std::uint8_t* at, std::size_t length, std::uint64_t* written) {
    while (length > 0) {
        const ssize_t n = ::write(fd, at, length);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        at += n;
        length -= static_cast<std::size_t>(n);
        *written += static_cast<std::uint64_t>(n);
    }
    return true;
}

}  // namespace

CReservedFile::CReservedFile(std::size_t buffer_bytes, std::uint64_t reserve_chunk_bytes)
    : buffer_capacity_(buffer_bytes), reserve_chunk_(reserve_chunk_bytes) {}

CReservedFile::~CReservedFile() { Close(); }

bool CReservedFile::Create(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    buffer_.clear();
    buffer_.reserve(buffer_capacity_);
    size_ = written_ = reserved_ = 0;
    reserving_ = true;
    return true;
}

// The reservation extends the file (a limit on file sizes then holds for it as for a write);
// Close cuts it back to what was written.
bool CReservedFile::Reserve(std::uint64_t end) {
    if (!reserving_ || end <= reserved_) return true;
    const std::uint64_t chunk_end = std::max(end, reserved_ + reserve_chunk_);
    if (::fallocate(fd_, 0, static_cast<off_t>(reserved_),
                    static_cast<off_t>(chunk_end - reserved_)) == 0) {
        reserved_ = chunk_end;
        return true;
    }
    if (errno == EOPNOTSUPP || errno == ENOSYS) {
        reserving_ = false;
        return Flush();
    }
    if (errno != ENOSPC && errno != EFBIG) return false;
    // Near the end of the disk: room for these bytes alone may still be there.
    if (chunk_end > end && ::fallocate(fd_, 0, static_cast<off_t>(reserved_),
                                       static_cast<off_t>(end - reserved_)) == 0) {
        reserved_ = end;
        return true;
    }
    return false;
}

bool CReservedFile::Append(const void* bytes, std::size_t length) {
    if (fd_ < 0) {
        errno = EBADF;
        return false;
    }
    if (!Reserve(size_ + length)) return false;
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    if (reserving_) {
        if (buffer_.size() + length > buffer_capacity_ && !Flush()) return false;
        if (length <= buffer_capacity_) {
            buffer_.insert(buffer_.end(), at, at + length);
            size_ += length;
            return true;
        }
    }
    if (!Flush()) return false;
    const std::uint64_t before = written_;
    if (!WriteAll(fd_, at, length, &written_)) {
        const int error = errno;
        // None of these bytes stays.
        if (::ftruncate(fd_, static_cast<off_t>(before)) == 0 &&
            ::lseek(fd_, static_cast<off_t>(before), SEEK_SET) >= 0) {
            written_ = before;
        }
        size_ = written_;
        errno = error;
        return false;
    }
    size_ = written_;
    return true;
}

bool CReservedFile::Flush() {
    if (buffer_.empty()) return true;
    const bool flushed = WriteAll(fd_, buffer_.data(), buffer_.size(), &written_);
    if (!flushed) {
        const int error = errno;
        size_ = written_;
        errno = error;
    }
    buffer_.clear();
    return flushed;
}

bool CReservedFile::CutTo(std::uint64_t size_bytes) {
    if (fd_ < 0) return true;
    bool whole = true;
    if (size_bytes > written_) {
        // Only the buffered bytes before the cut are written out.
        const std::size_t keep = static_cast<std::size_t>(
            std::min<std::uint64_t>(size_bytes - written_, buffer_.size()));
        buffer_.resize(keep);
        whole = Flush();
    }
    buffer_.clear();
    const int error = errno;
    const std::uint64_t end = std::min(size_bytes, written_);
    if (::ftruncate(fd_, static_cast<off_t>(end)) == 0) {
        written_ = end;
        reserved_ = end;
        static_cast<void>(::lseek(fd_, static_cast<off_t>(end), SEEK_SET));
    }
    size_ = written_;
    errno = error;
    return whole && size_ == size_bytes;
}

bool CReservedFile::ReadAt(std::uint64_t offset, void* bytes, std::size_t length) {
    if (fd_ < 0 || !Flush()) return false;
    return ::pread(fd_, bytes, length, static_cast<off_t>(offset)) == static_cast<ssize_t>(length);
}

bool CReservedFile::Close() {
    if (fd_ < 0) return true;
    const bool flushed = Flush();
    const int error = errno;
    // The space reserved beyond the end goes back.
    if (reserved_ > written_) static_cast<void>(::ftruncate(fd_, static_cast<off_t>(written_)));
    ::close(fd_);
    fd_ = -1;
    errno = error;
    return flushed;
}
