#pragma once

#include <cstddef>
#include <string>

// Blocking socket helpers with time-outs, shared by the client and the recorder emulator.
namespace netproto {

enum class IoStatus { kOk, kTimeout, kClosed, kError };

const char* IoStatusText(IoStatus status);

// A connected TCP socket (close-on-exec, no Nagle delay), or -1 with error set. host is a
// dotted IPv4 address or a name; the wait for the connection is at most timeout_ms, and ends
// at once when cancel_fd (an eventfd or a pipe; -1 for none) turns readable.
int ConnectTcp(const std::string& host, int port, int timeout_ms, std::string& error,
               int cancel_fd = -1);

// Whole buffers in at most timeout_ms each; a peer that is gone yields kClosed (never SIGPIPE).
IoStatus SendAll(int fd, const void* data, std::size_t size_bytes, int timeout_ms);
IoStatus RecvExact(int fd, void* data, std::size_t size_bytes, int timeout_ms);
// Whatever arrives first within timeout_ms, at most capacity_bytes.
IoStatus RecvSome(int fd, void* data, std::size_t capacity_bytes, int timeout_ms,
                  std::size_t& received_bytes);

}  // namespace netproto
