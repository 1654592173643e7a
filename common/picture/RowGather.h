#pragma once

#include <cstdint>
#include <vector>

// Picks out[i] = row[columns[i]] for a fixed list of ascending columns, as a scaled draw takes
// pixels. Where the CPU has byte shuffles, each 16 outputs are shuffled out of a few 16-byte
// windows of the row, planned once per column list: a fraction of the loads and stores of
// picking byte by byte. It never reads past the row's first row_bytes bytes.
class RowGather {
public:
    void Build(std::vector<int> columns, int row_bytes);
    // out holds PaddedCount() bytes; those past Count() are left undefined.
    void Gather(const uint8_t* row, uint8_t* out) const;
    int Count() const { return static_cast<int>(columns_.size()); }
    int PaddedCount() const { return (Count() + 15) / 16 * 16; }

private:
    int GatherWide(const uint8_t* row, uint8_t* out) const;  // returns how many it picked

    struct Window {
        int offset;        // first byte of the window in the row
        uint8_t mask[16];  // output position -> byte of the window, 0x80 for none
    };

    std::vector<int> columns_;
    std::vector<Window> windows_;
    std::vector<int> block_ends_;  // windows of 16-output block b end at block_ends_[b]
};
