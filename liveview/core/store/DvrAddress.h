#pragma once

#include <optional>
#include <string>
#include <string_view>

// A device entry's address: "host:port" (or '/' or '\' in place of ':') reaches the recorder
// directly; "lookup-host/NAME" asks the lookup server on lookup-host for the address of the
// recorder registered as NAME. The last separator splits; a right part of up to five
// characters is a port, a longer one a device name.
struct DvrAddress {
    std::string host;         // the recorder, or the lookup server
    int port = 0;             // the recorder's port; 0 through the lookup server
    std::string device_name;  // upper case, when through the lookup server
    bool via_lookup = false;

    bool operator==(const DvrAddress&) const = default;
};

// Where lookup servers listen.
constexpr int kLookupServerPort = 10088;

// Nothing when the address has none of the separators. A right part of up to five characters
// gives its decimal value as the port, 0 when it is not a number, even outside 1..65535: the
// log-in then fails to connect (-1005).
std::optional<DvrAddress> ParseDvrAddress(std::string_view address);

// True when the lookup server's host is a name to resolve rather than a dotted address: one
// of its first 15 characters is neither a digit nor '.'.
bool NeedsHostLookup(std::string_view host);
