// Any text as a device address. A direct address gives a port of at most five digits and no
// name; one through the lookup server gives an upper-case name of six characters or more and
// no port; the host is always what the text holds before its last separator.
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "liveview/core/store/DvrAddress.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<DvrAddress> parsed = ParseDvrAddress(text);
    if (!parsed) {
        if (text.find_first_of("/\\:") != std::string_view::npos) std::abort();
        return 0;
    }
    if (!text.starts_with(parsed->host)) std::abort();
    if (parsed->port < 0 || parsed->port > 99999) std::abort();
    if (parsed->via_lookup) {
        if (parsed->port != 0 || parsed->device_name.size() < 6) std::abort();
        for (unsigned char c : parsed->device_name) {
            if (std::islower(c)) std::abort();
        }
    } else if (!parsed->device_name.empty()) {
        std::abort();
    }
    NeedsHostLookup(parsed->host);
    return 0;
}
