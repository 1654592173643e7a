#pragma once

#include <cstdint>

inline constexpr int32_t kNetCommandPtz = 16;
inline constexpr int32_t kNetCommandKey = 25;
// Front-panel key codes.
inline constexpr int32_t kKeyRec = 7;
inline constexpr int32_t kKeyEsc = 8;

// A command to the recorder: pan/tilt/zoom or a front-panel key. 20 bytes, little-endian.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _NET_COMMAND_ {
    int32_t nCommand;   // kNetCommandPtz or kNetCommandKey
    int32_t nSubCode;   // PTZ direction/lens code, or key code (kKeyEsc, kKeyRec)
    int32_t nChannel;   // camera channel from 0 (PTZ), 0 for keys
    int32_t nAction;    // PTZ: 1 press, 2 release, 3 click; 0 for keys
    int32_t nReserved;  // always 0
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_NET_COMMAND_) == 20);
