#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The source column of each of dest_width pixels drawn from a row width wide, as a
// nearest-neighbour scale drops or repeats them.
inline std::vector<int> NearestColumns(int width, int dest_width) {
    std::vector<int> columns(static_cast<std::size_t>(dest_width));
    for (int x = 0; x < dest_width; ++x)
        columns[x] = static_cast<int>(static_cast<std::int64_t>(x) * width / dest_width);
    return columns;
}

// Picks out[i] = row[columns[i]] for a fixed list of ascending columns, as a scaled draw takes
// pixels. Columns one, two or four apart (a picture drawn at its size, a half or a quarter) are
// copied or packed 16 at a time; other lists, where the CPU has byte shuffles, shuffle each 16
// outputs out of a few 16-byte windows of the row, planned once per column list: a fraction of
// the loads and stores of picking byte by byte. Where the CPU permutes bytes across two 64-byte
// registers, each 64 outputs come out of 128-byte windows instead, so that picks far apart (a
// large picture into a small cell) share windows too. It never reads past the row's first
// row_bytes bytes.
class RowGather {
public:
    void Build(std::vector<int> columns, int row_bytes);
    // out holds PaddedCount() bytes; those past Count() are left undefined.
    void Gather(const uint8_t* row, uint8_t* out) const;
    int Count() const { return static_cast<int>(columns_.size()); }
    int PaddedCount() const { return (Count() + 15) / 16 * 16; }

private:
    int GatherWide(const uint8_t* row, uint8_t* out) const;  // returns how many it picked
    int GatherFar(const uint8_t* row, uint8_t* out) const;   // the same, 128-byte windows
    void BuildFar(int row_bytes);
    int GatherStep(const uint8_t* row, uint8_t* out) const;  // the same, columns step_ apart

    struct Window {
        int offset;        // first byte of the window in the row
        uint8_t mask[16];  // output position -> byte of the window, 0x80 for none
    };

    std::vector<int> columns_;
    int step_ = 0;            // 1, 2 or 4 when every column lies that far past the one before
    int step_count_ = 0;      // outputs of whole steps that stay inside the row
    bool step_last_ = false;  // the rest as one block that overlaps the one before
    std::vector<Window> windows_;
    std::vector<int> block_ends_;  // windows of 16-output block b end at block_ends_[b]

    struct FarWindow {
        int offset;        // first byte of the window in the row
        uint64_t lanes;    // the outputs of the block it fills
        uint8_t pick[64];  // output position -> byte of the window
    };
    std::vector<FarWindow> far_windows_;
    std::vector<int> far_block_ends_;  // windows of 64-output block b end here
};
