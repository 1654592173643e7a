#include "common/record/WriteBehind.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>

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

CWriteBehind::CWriteBehind(std::size_t depth) : depth_(depth) {}

CWriteBehind::~CWriteBehind() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    queued_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void CWriteBehind::Attach(int fd, std::uint64_t written_bytes) {
    std::lock_guard lock(mutex_);
    fd_ = fd;
    written_ = written_bytes;
    error_ = 0;
    failed_.store(false, std::memory_order_release);
}

std::vector<std::uint8_t> CWriteBehind::Submit(std::vector<std::uint8_t> bytes) {
    std::unique_lock lock(mutex_);
    if (depth_ > 0 && !thread_.joinable()) {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
            // Without a thread of its own the caller writes, as with depth 0.
        }
    }
    if (!thread_.joinable()) {
        WriteLocked(lock, bytes);
        bytes.clear();
        return bytes;
    }
    done_.wait(lock, [this] { return waiting_.size() < depth_; });
    waiting_.push_back(std::move(bytes));
    std::vector<std::uint8_t> next;
    if (!spare_.empty()) {
        next = std::move(spare_.back());
        spare_.pop_back();
    }
    lock.unlock();
    queued_.notify_one();
    return next;
}

bool CWriteBehind::Drain() {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return waiting_.empty() && !writing_; });
    if (error_ == 0) return true;
    errno = error_;
    return false;
}

std::uint64_t CWriteBehind::Written() const {
    std::lock_guard lock(mutex_);
    return written_;
}

void CWriteBehind::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        queued_.wait(lock, [this] { return stop_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        std::vector<std::uint8_t> bytes = std::move(waiting_.front());
        waiting_.pop_front();
        writing_ = true;
        done_.notify_all();  // room for another buffer while this one is written
        WriteLocked(lock, bytes);
        writing_ = false;
        Recycle(std::move(bytes));
        done_.notify_all();
    }
}

void CWriteBehind::WriteLocked(std::unique_lock<std::mutex>& lock,
                               std::vector<std::uint8_t>& bytes) {
    if (error_ != 0 || bytes.empty()) return;
    const int fd = fd_;
    lock.unlock();
    std::uint64_t written = 0;
    const bool whole = WriteAll(fd, bytes.data(), bytes.size(), &written);
    const int error = errno;
    lock.lock();
    written_ += written;
    if (!whole) {
        error_ = error != 0 ? error : EIO;
        failed_.store(true, std::memory_order_release);
    }
}

void CWriteBehind::Recycle(std::vector<std::uint8_t> bytes) {
    bytes.clear();
    if (spare_.size() < depth_) spare_.push_back(std::move(bytes));
}
