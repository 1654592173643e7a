#include "platform/net/ConnectWait.h"

#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <chrono>

int WaitConnected(int fd, int timeout_ms, int cancel_fd) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    for (;;) {
        const auto left_ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left_ms < 0) return ETIMEDOUT;
        pollfd entries[2] = {{fd, POLLOUT, 0}, {cancel_fd, POLLIN, 0}};
        const int ready = ::poll(entries, cancel_fd >= 0 ? 2 : 1, static_cast<int>(left_ms));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return errno;
        if (ready == 0) return ETIMEDOUT;
        if (entries[1].revents != 0) return ECANCELED;
        // poll reports a failed connect as writable too: the socket's own error decides.
        int error = 0;
        socklen_t error_size = sizeof error;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &error_size) != 0) return errno;
        return error;
    }
}
