#pragma once

#include <cstdint>

// One destination row of a scaled draw, as the surface asks a picture source for it: count
// pixels from column dest_x of the destination rectangle (0 at its left edge), taken from
// source row src_y; columns[i] is the source column of out[i], nearest-neighbour. next_src_y is
// the source row of the next row asked for, -1 for none: a source may fetch it ahead.
struct ScaledRow {
    int src_y = 0;
    int next_src_y = -1;
    int dest_x = 0;
    int count = 0;
    const int* columns = nullptr;
    std::uint32_t* out = nullptr;
};
