#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

// Buffers written to a file descriptor in the order they are handed over. With a depth, a
// thread of its own writes them, so whoever fills them does not wait for the disk; at most
// depth buffers wait, after that Submit waits for room, so a slow disk holds the filler back
// instead of taking memory without end. With depth 0 Submit writes in the caller's thread.
//
// A failed write keeps what reached the file and drops every buffer after it, so the file never
// holds bytes beyond a gap; the failure stays until the next Attach.
class CWriteBehind {
public:
    explicit CWriteBehind(std::size_t depth);
    ~CWriteBehind();
    CWriteBehind(const CWriteBehind&) = delete;
    CWriteBehind& operator=(const CWriteBehind&) = delete;

    // Writes go to fd from now on, which already holds written_bytes; forgets a failure. Only
    // when nothing waits (after Drain).
    void Attach(int fd, std::uint64_t written_bytes);
    // Hands bytes over to be written after those handed over before; gives back an empty
    // buffer to fill next (one written out, its capacity kept, when there is one).
    std::vector<std::uint8_t> Submit(std::vector<std::uint8_t> bytes);
    // Waits until every buffer handed over is written or dropped. false with errno set when a
    // write failed since Attach.
    bool Drain();
    // Bytes in the file: those before Attach and those written since.
    std::uint64_t Written() const;
    // True once a write failed since Attach; does not wait.
    bool Failed() const { return failed_.load(std::memory_order_acquire); }

private:
    void Run();
    // Writes bytes to fd unless a write failed; the lock is held on entry and exit, released
    // while writing.
    void WriteLocked(std::unique_lock<std::mutex>& lock, std::vector<std::uint8_t>& bytes);
    void Recycle(std::vector<std::uint8_t> bytes);

    const std::size_t depth_;
    mutable std::mutex mutex_;
    std::condition_variable queued_;  // the writer waits for buffers
    std::condition_variable done_;    // fillers wait for room, Drain for the end
    std::deque<std::vector<std::uint8_t>> waiting_;
    std::vector<std::vector<std::uint8_t>> spare_;
    bool writing_ = false;
    bool stop_ = false;
    int fd_ = -1;
    std::uint64_t written_ = 0;
    int error_ = 0;
    std::atomic<bool> failed_{false};
    std::thread thread_;
};
