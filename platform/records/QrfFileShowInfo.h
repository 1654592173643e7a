#pragma once

#include <cstdint>

// One entry of a recorder's record list, 92 bytes, little-endian.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _QRF_FILESHOWINFO {
    uint8_t reserved0[12];  // not interpreted
    int32_t nChannelMask;   // bit n-1 = camera n is in the record
    uint8_t reserved1[8];   // not interpreted
    int32_t nStartTime;     // seconds since 1970 by the recorder's clock; 0 = empty entry
    int32_t nEndTime;       // same scale
    uint8_t reserved2[60];  // not interpreted
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_QRF_FILESHOWINFO) == 92);

inline constexpr int kRecListPageEntries = 300;

// Names one calendar day for a record search: 28 August 2009 is 1090728.
constexpr int32_t MakeDayKey(int year, int month_1_12, int day_1_31) {
    return (year - 1900) * 10000 + (month_1_12 - 1) * 100 + day_1_31;
}
