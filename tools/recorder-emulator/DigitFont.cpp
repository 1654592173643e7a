#include "tools/recorder-emulator/DigitFont.h"

namespace {

// One row per entry, the top row first; bit 2 is the left column.
constexpr unsigned char kGlyphs[10][kDigitRows] = {
    {7, 5, 5, 5, 7},  // 0
    {2, 6, 2, 2, 7},  // 1
    {7, 1, 7, 4, 7},  // 2
    {7, 1, 7, 1, 7},  // 3
    {5, 5, 7, 1, 1},  // 4
    {7, 4, 7, 1, 7},  // 5
    {7, 4, 7, 5, 7},  // 6
    {7, 1, 2, 2, 2},  // 7
    {7, 5, 7, 5, 7},  // 8
    {7, 5, 7, 1, 7},  // 9
};

}  // namespace

bool DigitDot(int digit, int column, int row) {
    if (digit < 0 || digit > 9 || column < 0 || column >= kDigitColumns || row < 0 ||
        row >= kDigitRows) {
        return false;
    }
    return (kGlyphs[digit][row] >> (kDigitColumns - 1 - column)) & 1;
}
