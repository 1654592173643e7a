#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>

#include "liveview/core/store/MapPoint.h"

// The bytes of the device store uss.dat: 43977 bytes, little-endian, no header. Texts are
// zero-terminated inside their fields; user names and passwords are scrambled.
static_assert(std::endian::native == std::endian::little, "the store is read and written as is");

// The record keeps the field names of its layout.
// NOLINTBEGIN(readability-identifier-naming)
#pragma pack(push, 1)
struct _USS_DVR_RECORD_ {
    char szAddress[50];
    char szPort[10];
    char szUser[10];      // scrambled
    char szPassword[10];  // scrambled
    char szShowName[50];
    uint8_t bInUse;  // 1 = the slot holds a device
    uint8_t reserved;
    int32_t nChannelMask;
    int32_t nFrameRateIndex;
    int32_t nQualityIndex;
    int32_t nSendAudio;
    int32_t nAutoConnect;
    _MAP_POINT_ map_points[16];
};

struct _USS_FILE_ {
    _USS_DVR_RECORD_ records[64];
    char szRecordDirectory[256];
    char szAdminPassword[100];  // scrambled
    char szUserPassword[100];   // scrambled
    uint8_t bPasswordOn;
    int32_t window_map[256];
};
#pragma pack(pop)
// NOLINTEND(readability-identifier-naming)

static_assert(sizeof(_USS_DVR_RECORD_) == 664);
static_assert(offsetof(_USS_DVR_RECORD_, bInUse) == 130);
static_assert(offsetof(_USS_DVR_RECORD_, nChannelMask) == 132);
static_assert(offsetof(_USS_DVR_RECORD_, map_points) == 152);
static_assert(offsetof(_USS_FILE_, szRecordDirectory) == 42496);
static_assert(offsetof(_USS_FILE_, szAdminPassword) == 42752);
static_assert(offsetof(_USS_FILE_, szUserPassword) == 42852);
static_assert(offsetof(_USS_FILE_, bPasswordOn) == 42952);
static_assert(offsetof(_USS_FILE_, window_map) == 42953);
static_assert(sizeof(_USS_FILE_) == 43977);

inline constexpr std::size_t kUssFileBytes = sizeof(_USS_FILE_);
