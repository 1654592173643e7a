#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "common/lookup/LookupClient.h"

// Where each recorder is, and how the server answers a request. Thread-safe.
class LookupDirectory {
public:
    void SetDevice(const std::string& name, const std::string& address, uint16_t port);
    void SetOffline(const std::string& name, bool offline);
    void SetRefuseAll(bool refuse);

    // -1009 when refusing (or for any request but a lookup), -1010 for a name that is unknown
    // or offline, else the request's code with the recorder's address and port.
    LookupWire Answer(const LookupWire& request) const;

private:
    struct Place {
        std::string address;
        uint16_t port = 0;
    };

    mutable std::mutex mutex_;
    std::map<std::string, Place> places_;
    std::set<std::string> offline_;
    bool refuse_all_ = false;
};
