#pragma once

#include <string>

// Where a log-in goes, from the server text: "host:port" reaches a recorder directly,
// "lookup-host:NAME" (six characters or more) asks the lookup server on lookup-host for the
// recorder registered as NAME. '/' outranks '\', which outranks ':'; the text splits at the
// last occurrence of the separator chosen.
struct LoginTarget {
    static constexpr std::size_t kDeviceNameMinLength = 6;

    std::string host;    // empty when the text holds no separator
    std::string target;  // upper case

    bool ByDeviceName() const { return target.size() >= kDeviceNameMinLength; }
    // The port of a direct log-in: the target's leading decimal number, 0 for none.
    int Port() const;
};

LoginTarget SplitServerText(const std::string& server_text);

// True when the lookup server's host must be resolved as a name: one of its first eight
// characters is neither a digit nor '.'.
bool HostNeedsResolve(const std::string& host);
