#include "playback/core/login/LoginTarget.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

int LoginTarget::Port() const { return std::atoi(target.c_str()); }

LoginTarget SplitServerText(const std::string& server_text) {
    char separator = ':';
    if (server_text.find('/') != std::string::npos) {
        separator = '/';
    } else if (server_text.find('\\') != std::string::npos) {
        separator = '\\';
    }
    LoginTarget split;
    const std::size_t at = server_text.rfind(separator);
    if (at == std::string::npos) {
        split.target = server_text;
    } else {
        split.host = server_text.substr(0, at);
        split.target = server_text.substr(at + 1);
    }
    std::transform(split.target.begin(), split.target.end(), split.target.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return split;
}

bool HostNeedsResolve(const std::string& host) {
    constexpr std::size_t kExamined = 8;
    const std::size_t n = std::min(host.size(), kExamined);
    for (std::size_t i = 0; i < n; ++i) {
        const auto c = static_cast<unsigned char>(host[i]);
        if (!std::isdigit(c) && c != '.') return true;
    }
    return false;
}
