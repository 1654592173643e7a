#pragma once

#include <netinet/in.h>

#include <optional>
#include <string>

// The first IPv4 address of host, given as dotted text or as a name; nothing when it does not
// resolve. Safe to call from several threads at once.
std::optional<in_addr> ResolveIpv4(const std::string& host);

// The same address as dotted text.
std::optional<std::string> ResolveIpv4Text(const std::string& host);
