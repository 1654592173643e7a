#pragma once

#include <cstddef>
#include <cstdint>

// One disk of the recorder's state snapshot, 24 bytes.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _DVR_DISK_INFO_ {
    int32_t nSizeMB;        // disk size in MB
    int32_t nFreePercent;   // free space in percent
    int32_t nCoverPercent;  // cover rate in percent
    int32_t nBadBlocks;     // shown as the bare number followed by G
    int32_t nFirstTime;     // earliest record, seconds since 1970 by the recorder's clock
    int32_t nLastTime;      // latest record, same scale
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_DVR_DISK_INFO_) == 24);

inline constexpr int kDvrMaxDisks = 8;
inline constexpr int32_t kCodecH264 = 0x10001000;  // any other codec word is MPEG-4
inline constexpr int32_t kSuperUserLevel = 2;

// Link states of a recorder connection.
enum DvrLinkState : int32_t {
    kLinkIdle = 0,       // not connected
    kLinkLoggedIn = 1,   // logged in, nothing streaming
    kLinkStreaming = 2,  // live view or playback streaming
    kLinkLost = 3,       // the TCP link dropped without a log-out
};

// State snapshot of one recorder connection, 224 bytes, little-endian.
// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _DVR_MACHINE_INFO_ {
    int32_t nTypeCode;                   // model code: series = /1000, channels = %1000
    int32_t nLedLow;                     // front-panel lamp bits 0-7
    int32_t nLedHigh;                    // front-panel lamp bits 8-15
    int32_t nDiskCount;                  // valid records in disk[], at most 8 are read
    _DVR_DISK_INFO_ disk[kDvrMaxDisks];  // valid after a disk query
    int32_t nCodec;                      // kCodecH264, else MPEG-4
    int32_t nUserLevel;                  // kSuperUserLevel = super user
    int32_t nLinkState;                  // DvrLinkState
    int32_t nAudioMask;                  // bit i = channel i carries audio
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_DVR_MACHINE_INFO_) == 224);
static_assert(offsetof(_DVR_MACHINE_INFO_, disk) == 16);
static_assert(offsetof(_DVR_MACHINE_INFO_, nCodec) == 208);
static_assert(offsetof(_DVR_MACHINE_INFO_, nLinkState) == 216);
