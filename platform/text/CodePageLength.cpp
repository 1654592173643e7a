#include "platform/text/CodePageLength.h"

namespace {

// Continuation bytes that follow a lead byte.
int ContinuationsOf(unsigned char lead) {
    if ((lead & 0xE0) == 0xC0) return 1;
    if ((lead & 0xF0) == 0xE0) return 2;
    if ((lead & 0xF8) == 0xF0) return 3;
    return 0;
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

std::size_t CodePageLength(std::string_view utf8) {
    std::size_t length = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        if (lead < 0x80) {
            length += 1;
            ++i;
            continue;
        }
        length += 2;
        ++i;
        for (int k = ContinuationsOf(lead);
             k > 0 && i < utf8.size() && IsContinuation(static_cast<unsigned char>(utf8[i])); --k)
            ++i;
    }
    return length;
}
