#include "liveview/core/store/DvrAddress.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kMaxPortChars = 5;
constexpr std::size_t kHostBufferBytes = 200;
constexpr std::size_t kDottedChars = 15;

char SeparatorOf(std::string_view address) {
    for (char separator : {'/', '\\', ':'}) {
        if (address.find(separator) != std::string_view::npos) return separator;
    }
    return '\0';
}

// The port a right part names: its decimal value, 0 when it is not a number (the log-in then
// fails to connect). Only a whole number counts, so "68o2" reaches no port 68 nobody named.
int PortOf(std::string_view text) {
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
    }
    return port;
}

}  // namespace

std::optional<DvrAddress> ParseDvrAddress(std::string_view address) {
    const char separator = SeparatorOf(address);
    if (separator == '\0') return std::nullopt;
    const std::size_t split = address.rfind(separator);
    std::string right(address.substr(split + 1));
    std::transform(right.begin(), right.end(), right.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });

    DvrAddress parsed;
    parsed.host = std::string(address.substr(0, split));
    if (right.size() <= kMaxPortChars) {
        parsed.port = PortOf(right);
        return parsed;
    }
    if (parsed.host.size() >= kHostBufferBytes) parsed.host.resize(kHostBufferBytes - 1);
    parsed.device_name = std::move(right);
    parsed.via_lookup = true;
    return parsed;
}

bool NeedsHostLookup(std::string_view host) {
    const std::string_view head = host.substr(0, std::min(host.size(), kDottedChars));
    return std::any_of(head.begin(), head.end(),
                       [](char c) { return c != '.' && (c < '0' || c > '9'); });
}
