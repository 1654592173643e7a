#pragma once

#include <cstdint>

// Where one camera channel of a device sits on the site map: eight int32, stored as they are in
// the device store. The live view never places a point; it keeps what it added or read.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
struct _MAP_POINT_ {
    int32_t nPlaced = 0;  // 1 once placed on the map
    int32_t nD1 = 1;      // d1..d5: digits naming the map picture; 1,0,0,0,0 is the top one
    int32_t nD2 = 0;
    int32_t nD3 = 0;
    int32_t nD4 = 0;
    int32_t nD5 = 0;
    int32_t nX = 0;  // pixels from the picture's left edge
    int32_t nY = 0;  // pixels from the picture's top edge

    bool operator==(const _MAP_POINT_&) const = default;
};
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_MAP_POINT_) == 32);
