#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "platform/net/ListenSocket.h"
#include "tools/lookup-server/LookupDirectory.h"

// A lookup server on one TCP port: answers each connection's 600-byte request from its
// directory and closes it. Serves from one thread with a poll loop; a peer that stays silent
// or stops reading is dropped after a few seconds, and sooner when the connections are at
// their bound and a new peer needs the place. Every member is thread-safe.
class LookupServer {
public:
    LookupServer();
    ~LookupServer();
    LookupServer(const LookupServer&) = delete;
    LookupServer& operator=(const LookupServer&) = delete;

    // Listens on bind_address (dotted IPv4) and port (0 = any free port). False when the
    // address is not valid, the port cannot be bound or the server is running already.
    bool Start(const std::string& bind_address, uint16_t port);
    void Stop();
    // The port listened on, 0 while stopped.
    uint16_t Port() const;

    void SetDevice(const std::string& name, const std::string& address, uint16_t port);
    void SetOffline(const std::string& name, bool offline);
    void SetRefuseAll(bool refuse);

private:
    void Serve(int listen_fd, int wake_fd);

    LookupDirectory directory_;
    std::mutex control_mutex_;
    std::thread thread_;
    ListenSocket listener_;
    int wake_fd_ = -1;
    std::atomic<uint16_t> port_{0};
};
