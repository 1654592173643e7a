#include "liveview/core/store/Scramble.h"

#include <algorithm>

namespace {

constexpr int kShift = 5;

// The shift applies to bytes whose signed value is above 5.
bool IsShifted(unsigned char byte) { return byte > kShift && byte < 0x80; }

}  // namespace

int ScrambleString(char* text, int length) {
    if (length <= 0) return 1;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsShifted(byte)) text[i] = static_cast<char>(byte - kShift);
    }
    std::reverse(text, text + length);
    return 1;
}

int UnscrambleString(char* text, int length) {
    if (length <= 0) return 1;
    for (int i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (IsShifted(byte)) text[i] = static_cast<char>(byte + kShift);
    }
    std::reverse(text, text + length);
    return 1;
}
