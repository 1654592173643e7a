#include "update/core/ServerText.h"

#include <climits>
#include <cstdlib>

namespace {

// Text to integer the standard way, held to the range of int instead of overflowing.
int LeadingNumber(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

}  // namespace

ServerAddress SplitServerText(const std::string& text) {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string::npos) return {"", LeadingNumber(text)};
    return {text.substr(0, colon), LeadingNumber(text.substr(colon + 1))};
}
