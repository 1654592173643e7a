#pragma once

#include "platform/net/ListenSocket.h"
#include "tools/recorder-emulator/RecorderState.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// One recorder on its own port: accepts connections and serves each on a thread of its own
// once it has sent something.
class RecorderServer {
public:
    explicit RecorderServer(std::shared_ptr<RecorderState> state);
    ~RecorderServer();
    RecorderServer(const RecorderServer&) = delete;
    RecorderServer& operator=(const RecorderServer&) = delete;

    bool Start(const std::string& bind_address, uint16_t port, std::string* error);
    // Ends every connection and waits for their threads.
    void Stop();

    uint16_t Port() const { return listen_.Port(); }

private:
    struct Connection {
        std::thread thread;
        std::atomic<bool> stop{false};  // the server stops, or the connection gives way
        std::atomic<bool> logged_in{false};
        std::atomic<bool> done{false};
    };

    struct Waiting {
        int fd;
        std::chrono::steady_clock::time_point accepted;
    };

    void AcceptLoop();
    void AcceptWaiting();
    void DropStale();
    void Serve(int fd);
    void ReapFinished();
    // Room for one more connection (false when every one is logged in): waits for connections
    // that gave way to end, and at the bound the oldest that has not logged in gives way.
    bool MakeRoom();

    std::shared_ptr<RecorderState> state_;
    ListenSocket listen_;
    std::atomic<bool> stop_{false};
    std::thread accept_thread_;
    std::list<Connection> connections_;  // touched by the accept thread only, then by Stop
    std::vector<Waiting> waiting_;       // accept thread only, oldest first
    std::mutex ended_mutex_;
    std::condition_variable ended_;  // a connection's thread is done
};
