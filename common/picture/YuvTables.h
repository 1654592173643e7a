#pragma once

#include <cstdint>

// Chroma contributions in sixty-fourths, indexed by the raw chroma byte (entry c stands for
// c - 128). 384 entries each; those past 255 are never read.
struct YuvTables {
    int32_t v_to_red[384];
    int32_t u_to_green[384];
    int32_t v_to_green[384];
    int32_t u_to_blue[384];
};

// Fills the tables once per process; later and concurrent calls wait for that one fill.
void InitYuvTables();
// The filled tables (fills them first if nobody has).
const YuvTables& GetYuvTables();
