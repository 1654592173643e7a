#pragma once

#include <cstdint>
#include <vector>

// Picks out[i] = row[columns[i]] of 32-bit pixels for a fixed list of ascending columns, as a
// draw that enlarges repeats source columns. Planned once per column list: where the CPU has
// AVX2, each 8 outputs that lie within 8 pixels of the row (always so when enlarging) come
// from one load and one permute. It never reads past the row's first row_pixels pixels.
class PixelSpread {
public:
    void Build(std::vector<int> columns, int row_pixels);
    void Spread(const std::uint32_t* row, std::uint32_t* out) const;
    int Count() const { return static_cast<int>(columns_.size()); }

private:
    int SpreadWide(const std::uint32_t* row, std::uint32_t* out) const;  // returns how many

    static constexpr int kBlock = 8;
    struct Window {
        int offset;                  // first pixel of the window in the row; -1: pick one by one
        std::int32_t index[kBlock];  // output position -> pixel of the window
    };

    std::vector<int> columns_;
    std::vector<Window> windows_;  // one per full block of 8 outputs
};
