#pragma once

#include <optional>
#include <string>

// Dotted IPv4 text of the first address of host; nothing when it does not resolve. Safe to
// call from several connect threads at once.
std::optional<std::string> ResolveIpv4(const std::string& host);
