#pragma once

#include <cstddef>
#include <cstdint>

// The recorder's own parameters, 772 bytes, little-endian. Every value is the position of an
// entry in the list the settings dialog shows for it; element c of an array is camera c+1.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct NET_MAC_SET_PARA {
    int32_t brightness[16];     // 0..99
    int32_t hue[16];            // 0..99
    int32_t contrast[16];       // 0..99
    int32_t saturation[16];     // 0..99
    int32_t hDelay[16];         // 0..64, horizontal picture delay
    int32_t vDelay[16];         // 0..10, vertical picture delay
    int32_t spotTime[16];       // 0..10, spot output seconds
    int32_t ptzBaud[16];        // 0..3: 1200, 2400, 4800, 9600
    int32_t ptzAddress[16];     // 0..254, device address - 1
    int32_t ptzProtocol[16];    // 0..2
    int32_t encodeQuality[16];  // 0..2
    int32_t encodeFps[16];      // 0..3
    int32_t resolution;         // CIF or D1, coded by series
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(NET_MAC_SET_PARA) == 772);
static_assert(offsetof(NET_MAC_SET_PARA, hDelay) == 256);
static_assert(offsetof(NET_MAC_SET_PARA, encodeFps) == 704);
static_assert(offsetof(NET_MAC_SET_PARA, resolution) == 768);
