#include "platform/net/Ipv4Resolve.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <memory>

std::optional<in_addr> ResolveIpv4(const std::string& host) {
    in_addr address{};
    if (host.empty()) return std::nullopt;
    if (::inet_pton(AF_INET, host.c_str(), &address) == 1) return address;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    const std::unique_ptr<addrinfo, decltype(&::freeaddrinfo)> owner(found, ::freeaddrinfo);
    return reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
}

std::optional<std::string> ResolveIpv4Text(const std::string& host) {
    const std::optional<in_addr> address = ResolveIpv4(host);
    if (!address) return std::nullopt;
    char text[INET_ADDRSTRLEN] = {};
    if (::inet_ntop(AF_INET, &*address, text, sizeof text) == nullptr) return std::nullopt;
    return std::string(text);
}
