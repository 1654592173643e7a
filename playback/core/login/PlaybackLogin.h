#pragma once

#include <functional>
#include <optional>
#include <string>

class CConfigFile;
class CLookupClient;
class LanguageSelect;
class NetCtrl;

// What a confirmed log-in came to: a message to show first (empty for none), then whether the
// dialog ends with OK or stays open for the operator to correct.
struct LoginOutcome {
    bool accepted = false;
    std::string message;
};

// The confirm step of the playback log-in: checks the entries, finds the recorder directly or
// through the lookup server, logs in, records the entry in the ring of recent servers, and
// accepts only the recorder's super user. Blocks until the recorder and the lookup server
// have answered.
class CPlaybackLogin {
public:
    static constexpr int kMaxEntry_chars = 6;
    static constexpr int kLookupPort = 10088;
    static constexpr int kNotOnline = -1010;

    using Resolver = std::function<std::optional<std::string>(const std::string& host)>;

    CPlaybackLogin(const CConfigFile& settings, CLookupClient& lookup);

    int SetNetCtrl(NetCtrl* connection);
    // Host names of lookup servers are resolved through resolver (the system's by default).
    void SetResolver(Resolver resolver) { resolve_ = std::move(resolver); }
    // Lookup servers listen on kLookupPort; tests run theirs elsewhere.
    void SetLookupPort(int port) { lookup_port_ = port; }

    LoginOutcome Confirm(const LanguageSelect& texts, const std::string& user,
                         const std::string& password, const std::string& server_text);

    // What the last log-in went to: the host of a direct log-in, the device name of a log-in
    // through the lookup server.
    const std::string& Host() const { return host_; }

private:
    // Address and port of the recorder, or the message why there are none.
    struct Destination {
        std::string address;
        int port = 0;
        std::string prefix;  // names the recorder in error messages
        std::string error;
    };
    Destination FindRecorder(const std::string& server_text);
    LoginOutcome AfterLogin(const LanguageSelect& texts, const std::string& user,
                            const std::string& server_text);

    const CConfigFile& settings_;
    CLookupClient& lookup_;
    NetCtrl* connection_ = nullptr;
    Resolver resolve_;
    int lookup_port_ = kLookupPort;
    std::string host_;
};
