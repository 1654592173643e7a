#pragma once

#include <cstdint>

// The 56 bytes at the start of a .qmx index. No reader interprets them; the writer stores
// zeros.
struct _QMX_INDEX_HEAD_ {
    uint8_t reserved[56];
};

static_assert(sizeof(_QMX_INDEX_HEAD_) == 56);
