#include "common/record/ReservedFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

CReservedFile::CReservedFile(std::size_t buffer_bytes, std::uint64_t reserve_chunk_bytes,
                             std::size_t writes_waiting)
    : buffer_capacity_(buffer_bytes),
      reserve_chunk_(reserve_chunk_bytes),
      writer_(writes_waiting) {}

CReservedFile::~CReservedFile() { Close(); }

bool CReservedFile::Create(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) return false;
    writer_.Attach(fd_, 0);
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
    // A write behind failed: the file ends where it failed.
    if (writer_.Failed()) return Flush();
    if (!Reserve(size_ + length)) return false;
    const auto* at = static_cast<const std::uint8_t*>(bytes);
    if (reserving_) {
        if (buffer_.size() + length > buffer_capacity_ && !HandOver()) return false;
        // A payload larger than a buffer goes as a buffer of its own.
        buffer_.insert(buffer_.end(), at, at + length);
        size_ += length;
        return length <= buffer_capacity_ || HandOver();
    }
    if (!Flush()) return false;
    const std::uint64_t before = written_;
    buffer_.assign(at, at + length);
    size_ += length;
    if (Flush()) return true;
    const int error = errno;
    // None of these bytes stays.
    if (::ftruncate(fd_, static_cast<off_t>(before)) == 0 &&
        ::lseek(fd_, static_cast<off_t>(before), SEEK_SET) >= 0) {
        written_ = before;
        writer_.Attach(fd_, before);
    }
    size_ = written_;
    errno = error;
    return false;
}

bool CReservedFile::HandOver() {
    buffer_ = writer_.Submit(std::move(buffer_));
    buffer_.reserve(buffer_capacity_);
    return !writer_.Failed() || Flush();
}

bool CReservedFile::Flush() {
    if (!buffer_.empty()) {
        buffer_ = writer_.Submit(std::move(buffer_));
        buffer_.reserve(buffer_capacity_);
    }
    const bool flushed = writer_.Drain();
    const int error = errno;
    written_ = writer_.Written();
    if (!flushed) {
        size_ = written_;
        errno = error;
    }
    return flushed;
}

bool CReservedFile::CutTo(std::uint64_t size_bytes) {
    if (fd_ < 0) return true;
    // Only the buffered bytes before the cut are written out.
    const std::uint64_t handed_over = size_ - buffer_.size();
    buffer_.resize(static_cast<std::size_t>(
        std::min<std::uint64_t>(size_bytes - std::min(size_bytes, handed_over), buffer_.size())));
    static_cast<void>(Flush());
    const int error = errno;
    const std::uint64_t end = std::min(size_bytes, written_);
    if (::ftruncate(fd_, static_cast<off_t>(end)) == 0) {
        written_ = end;
        reserved_ = end;
        static_cast<void>(::lseek(fd_, static_cast<off_t>(end), SEEK_SET));
        writer_.Attach(fd_, end);
    }
    size_ = written_;
    errno = error;
    return size_ == size_bytes;
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
