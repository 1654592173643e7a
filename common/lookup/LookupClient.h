#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "common/lookup/LookupMessage.h"

// Time limits of one exchange. The defaults are the protocol's own; tests shorten them.
struct LookupTimeouts {
    int connect_ms = 6000;
    int send_ms = 5000;
    int receive_ms = 5000;
};

// The 600 bytes of a _LOOKUP_MESSAGE_ as they cross the network.
using LookupWire = std::array<uint8_t, kLookupMessageBytes>;

// Asks a lookup server over TCP for the IPv4 address and port of a recorder known by its device
// name: one connection, one 600-byte request, one 600-byte reply, then the connection is closed.
// One exchange at a time: callers on several threads serialise Lookup together with the reading
// of Address() and Port(). Abort, from any thread, ends the exchange in progress at once.
class CLookupClient {
public:
    static constexpr int kFound = 1;
    static constexpr int kFailed = -1;
    static constexpr int kNoSocketCreated = -1004;
    static constexpr int kNoSocket = -1;  // a closed socket field (0 is a valid descriptor here)

    CLookupClient();
    explicit CLookupClient(const LookupTimeouts& timeouts);
    virtual ~CLookupClient();
    CLookupClient(const CLookupClient&) = delete;
    CLookupClient& operator=(const CLookupClient&) = delete;

    // Sockets need no start-up on Linux: Startup always succeeds and returns 1.
    int Startup();
    void Cleanup();
    // Any thread: the exchange in progress, and every later one, fails (-1) without waiting
    // for its time-outs. For a program that is closing.
    void Abort();

    // 1 when found (then Address() and Port() hold the answer), else a negative result of
    // QueryDvr. Address and port change only on success.
    int Lookup(const std::string& server, int port, const std::string& name);
    // 1, -1 (network failure, or a name too long for its field), -1004, -1009 or -1010.
    int QueryDvr(const std::string& server, int port, const std::string& name);

    // The steps of an exchange. A socket field holds kNoSocket when closed.
    int ConnectTimed(int& socket_fd, const std::string& server, int port);
    int SendAll(int& socket_fd, const void* buffer, int length);
    int RecvAll(int& socket_fd, void* buffer, int length);
    static void CloseSocket(int& socket_fd);

    // Text fields are copied up to their terminator and never beyond their width; an
    // unterminated text is cut so that the copy keeps a terminator within the field.
    static void PackMessage(LookupWire& message, const _LOOKUP_MESSAGE_& record);
    static void UnpackMessage(_LOOKUP_MESSAGE_& record, const LookupWire& message);
    // Reads a reply: -1009 and -1010 are returned as they are; any other code is found (1),
    // with address and port taken from the reply. address and port are set only when found.
    static int ReadReply(const LookupWire& reply, std::string& address, int& port);

    int Started() const { return started_; }
    const std::string& Address() const { return address_; }
    int Port() const { return port_; }

private:
    bool Aborted() const;

    LookupTimeouts timeouts_;
    int abort_event_ = -1;  // eventfd, readable once aborted
    int started_ = 0;
    int lookup_socket_ = kNoSocket;
    std::string address_;
    int port_ = 0;
};
