#include "platform/text/Utf8Cut.h"

namespace {

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length a lead byte announces; 1 for a stray continuation or invalid byte, so such bytes
// are kept one by one rather than swallowing what follows.
std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0xC0) return 1;
    if (lead < 0xE0) return 2;
    if (lead < 0xF0) return 3;
    if (lead < 0xF8) return 4;
    return 1;
}

}  // namespace

std::string_view Utf8Cut(std::string_view text, std::size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    std::size_t end = max_bytes;
    // Step back to the lead byte of the character that straddles the limit.
    std::size_t lead = end;
    while (lead > 0 && IsContinuation(static_cast<unsigned char>(text[lead])))
        --lead;
    if (lead + SequenceLength(static_cast<unsigned char>(text[lead])) > end) end = lead;
    return text.substr(0, end);
}
