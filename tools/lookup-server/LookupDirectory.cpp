#include "tools/lookup-server/LookupDirectory.h"

#include <algorithm>
#include <cstring>

void LookupDirectory::SetDevice(const std::string& name, const std::string& address,
                                uint16_t port) {
    std::lock_guard lock(mutex_);
    places_[name] = Place{address, port};
}

void LookupDirectory::SetOffline(const std::string& name, bool offline) {
    std::lock_guard lock(mutex_);
    if (offline) {
        offline_.insert(name);
    } else {
        offline_.erase(name);
    }
}

void LookupDirectory::SetRefuseAll(bool refuse) {
    std::lock_guard lock(mutex_);
    refuse_all_ = refuse;
}

LookupWire LookupDirectory::Answer(const LookupWire& request) const {
    _LOOKUP_MESSAGE_ asked;
    CLookupClient::UnpackMessage(asked, request);
    _LOOKUP_MESSAGE_ reply{};
    {
        std::lock_guard lock(mutex_);
        const auto place = places_.find(asked.szText);
        if (refuse_all_ || asked.nCode != kLookupRequestCode) {
            reply.nCode = kLookupRefused;
        } else if (place == places_.end() || offline_.count(asked.szText) != 0) {
            reply.nCode = kLookupNotOnline;
        } else {
            reply.nCode = asked.nCode;
            const std::size_t address_bytes =
                std::min(place->second.address.size(), sizeof reply.szText - 1);
            std::memcpy(reply.szText, place->second.address.data(), address_bytes);
            reply.nPort = place->second.port;
        }
    }
    LookupWire wire;
    CLookupClient::PackMessage(wire, reply);
    return wire;
}
