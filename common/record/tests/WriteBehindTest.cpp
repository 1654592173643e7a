#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <optional>
#include <thread>
#include <vector>

#include "common/record/WriteBehind.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TestFolder.h"

namespace {

std::vector<uint8_t> Buffer(std::size_t bytes, int number) {
    return std::vector<uint8_t>(bytes, static_cast<uint8_t>(0x40 + number));
}

// What the buffers 0, 1, ... make in a row, cut to its first bytes.
std::vector<uint8_t> Stream(std::size_t buffer_bytes, int buffers, std::size_t bytes) {
    std::vector<uint8_t> stream;
    for (int i = 0; i < buffers; ++i) {
        const auto buffer = Buffer(buffer_bytes, i);
        stream.insert(stream.end(), buffer.begin(), buffer.end());
    }
    stream.resize(bytes);
    return stream;
}

std::vector<uint8_t> ReadFile(int fd) {
    std::vector<uint8_t> bytes(static_cast<std::size_t>(::lseek(fd, 0, SEEK_END)));
    EXPECT_EQ(::pread(fd, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    return bytes;
}

// A disk slower than the filler: at most the buffers that wait, the one being written and what
// the disk took are handed over; nothing is lost or reordered on the way.
TEST(WriteBehind, AFullQueueHoldsTheFillerBack) {
    constexpr std::size_t kDepth = 2;
    constexpr std::size_t kBufferBytes = 16384;
    constexpr int kBuffers = 12;
    int pipe_ends[2];
    ASSERT_EQ(::pipe(pipe_ends), 0);
    const int pipe_bytes = ::fcntl(pipe_ends[1], F_SETPIPE_SZ, 4096);
    ASSERT_GT(pipe_bytes, 0);
    std::atomic<int> handed_over{0};
    std::vector<uint8_t> read;
    {
        CWriteBehind writer(kDepth);
        writer.Attach(pipe_ends[1], 0);
        std::thread filler([&] {
            for (int i = 0; i < kBuffers; ++i) {
                writer.Submit(Buffer(kBufferBytes, i));
                ++handed_over;
            }
        });
        // The disk takes nothing yet: the filler stops once the queue is full.
        EXPECT_TRUE(PollUntil([&] { return handed_over >= static_cast<int>(kDepth) + 1; }));
        const auto most_handed_over = [&] {
            return (read.size() + static_cast<std::size_t>(pipe_bytes)) / kBufferBytes + 1 + kDepth;
        };
        std::size_t most_seen = 0;
        std::size_t most_allowed = 0;
        while (read.size() < kBufferBytes * kBuffers) {
            if (static_cast<std::size_t>(handed_over.load()) > most_handed_over()) {
                most_seen = static_cast<std::size_t>(handed_over.load());
                most_allowed = most_handed_over();
            }
            uint8_t chunk[1024];
            const ssize_t n = ::read(pipe_ends[0], chunk, sizeof chunk);
            if (n <= 0) break;
            read.insert(read.end(), chunk, chunk + n);
        }
        EXPECT_EQ(most_seen, 0u) << "handed over while at most " << most_allowed << " could be";
        filler.join();
        EXPECT_TRUE(writer.Drain());
        EXPECT_EQ(writer.Written(), kBufferBytes * kBuffers);
    }
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
    EXPECT_EQ(read, Stream(kBufferBytes, kBuffers, kBufferBytes * kBuffers));
}

// Drain waits for every buffer handed over; a write that fails keeps what reached the file
// before it, drops every buffer after it and is reported until the writer is attached again.
TEST(WriteBehind, DrainWritesAllInOrderUpToTheFirstFailure) {
    constexpr std::size_t kBufferBytes = 4096;
    constexpr int kBuffers = 10;
    const struct {
        const char* what;
        std::size_t depth;
        std::optional<rlim_t> file_limit;
        std::size_t written;
    } cases[] = {
        {"by the caller", 0, std::nullopt, kBufferBytes * kBuffers},
        {"behind", 3, std::nullopt, kBufferBytes * kBuffers},
        {"by the caller, the disk failing", 0, kBufferBytes * 5 / 2, kBufferBytes * 5 / 2},
        {"behind, the disk failing", 3, kBufferBytes * 5 / 2, kBufferBytes * 5 / 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const TestFolder folder(std::to_string(&c - cases));
        const int fd = ::open((folder.Path() / "file").c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
        ASSERT_GE(fd, 0);
        CWriteBehind writer(c.depth);
        writer.Attach(fd, 0);
        {
            std::optional<FileSizeLimit> disk;
            if (c.file_limit) disk.emplace(*c.file_limit);
            for (int i = 0; i < kBuffers; ++i) {
                EXPECT_TRUE(writer.Submit(Buffer(kBufferBytes, i)).empty());
            }
            errno = 0;
            EXPECT_EQ(writer.Drain(), !c.file_limit);
            EXPECT_EQ(errno, c.file_limit ? EFBIG : 0);
        }
        EXPECT_EQ(writer.Failed(), c.file_limit.has_value());
        EXPECT_EQ(writer.Written(), c.written);
        // Nothing more is written after a failure, not even with room again.
        writer.Submit(Buffer(kBufferBytes, kBuffers));
        EXPECT_EQ(writer.Drain(), !c.file_limit);
        const std::size_t written = c.file_limit ? c.written : c.written + kBufferBytes;
        EXPECT_EQ(ReadFile(fd), Stream(kBufferBytes, kBuffers + 1, written));
        writer.Attach(fd, written);
        EXPECT_FALSE(writer.Failed());
        EXPECT_TRUE(writer.Drain());
        ::close(fd);
    }
}

}  // namespace
