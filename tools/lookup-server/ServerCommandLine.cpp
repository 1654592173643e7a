#include "tools/lookup-server/ServerCommandLine.h"

#include <arpa/inet.h>

#include <charconv>

#include "common/lookup/LookupMessage.h"

namespace {

bool ParsePort(const std::string& text, unsigned lowest, uint16_t& port) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < lowest || value > 65535) {
        return false;
    }
    port = static_cast<uint16_t>(value);
    return true;
}

bool IsIpv4(const std::string& text) {
    in_addr address{};
    return ::inet_pton(AF_INET, text.c_str(), &address) == 1;
}

// NAME=ADDRESS:PORT; the name may itself hold '=' and ':', the address and port cannot.
std::string ParseDevice(const std::string& text, ServerCommandLine::Device& device) {
    const std::size_t equals = text.rfind('=');
    if (equals == std::string::npos) {
        return "expected NAME=ADDRESS:PORT, got \"" + text + "\"";
    }
    device.name = text.substr(0, equals);
    const std::string place = text.substr(equals + 1);
    const std::size_t colon = place.rfind(':');
    device.address = place.substr(0, colon == std::string::npos ? place.size() : colon);
    if (device.name.empty() || device.name.size() >= sizeof(_LOOKUP_MESSAGE_::szText) ||
        device.name.find('\0') != std::string::npos) {
        return "device name must be 1 to 199 bytes: \"" + text + "\"";
    }
    if (colon == std::string::npos || !IsIpv4(device.address) ||
        !ParsePort(place.substr(colon + 1), 1, device.port)) {
        return "expected a dotted IPv4 address and a port 1-65535 in \"" + text + "\"";
    }
    return "";
}

}  // namespace

std::string ServerCommandLine::Parse(const std::vector<std::string>& arguments) {
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--port" || argument == "--bind") {
            if (i + 1 == arguments.size()) {
                return argument + " needs a value";
            }
            const std::string& value = arguments[++i];
            if (argument == "--port" && !ParsePort(value, 0, port)) {
                return "not a port 0-65535: \"" + value + "\"";
            }
            if (argument == "--bind") {
                if (!IsIpv4(value)) {
                    return "not a dotted IPv4 address: \"" + value + "\"";
                }
                bind_address = value;
            }
            continue;
        }
        Device device;
        const std::string error = ParseDevice(argument, device);
        if (!error.empty()) {
            return error;
        }
        devices.push_back(device);
    }
    return "";
}
