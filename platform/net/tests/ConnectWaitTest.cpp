#include <gtest/gtest.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/net/ConnectWait.h"
#include "platform/net/ListenSocket.h"
#include "platform/net/tests/FullListener.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(WaitConnected, ConnectedRefusedAndTimedOut) {
    ListenSocket listener;
    listener.OpenLoopback();
    int fd = FullListener::StartConnect(listener.Port());
    EXPECT_EQ(WaitConnected(fd, 2000), 0);
    ::close(fd);

    const uint16_t closed_port = listener.Port();
    listener.Close();
    fd = FullListener::StartConnect(closed_port);
    EXPECT_EQ(WaitConnected(fd, 2000), ECONNREFUSED);
    ::close(fd);

    FullListener full;
    fd = FullListener::StartConnect(full.Port());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitConnected(fd, 200), ETIMEDOUT);
    EXPECT_GE(SecondsSince(start), 0.15);
    ::close(fd);
}

TEST(WaitConnected, ACancelCutsTheWaitShort) {
    FullListener full;
    const int cancel = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    ASSERT_GE(cancel, 0);
    const int fd = FullListener::StartConnect(full.Port());
    std::thread canceller([cancel] {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const uint64_t one = 1;
        EXPECT_EQ(::write(cancel, &one, sizeof one), static_cast<ssize_t>(sizeof one));
    });
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(WaitConnected(fd, 10000, cancel), ECANCELED);
    EXPECT_LT(SecondsSince(start), 5.0);
    canceller.join();
    ::close(fd);
    ::close(cancel);
}
