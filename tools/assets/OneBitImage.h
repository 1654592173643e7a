#pragma once

#include <cstdint>
#include <vector>

namespace skinart {

// A two-level image in the overlay file form: a five-byte header (width as hundreds and
// remainder, height likewise, type 2) and rows of ceil(width / 8) bytes, top row first, the
// leftmost pixel in the most significant bit.
class OneBitImage {
public:
    static constexpr std::uint8_t kTwoLevelType = 2;
    static constexpr int kMaxSide_px = 9999;  // two bytes of 0..99 each

    OneBitImage(int width_px, int height_px);

    int RowBytes() const { return (width_px_ + 7) / 8; }

    void SetInk(int x_px, int y_px);
    bool Ink(int x_px, int y_px) const;

    std::vector<std::uint8_t> Encode() const;

private:
    int width_px_;
    int height_px_;
    std::vector<std::uint8_t> rows_;
};

}  // namespace skinart
