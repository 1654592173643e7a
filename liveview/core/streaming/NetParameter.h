#pragma once

#include <cstdint>

// Stream rate and frame rate given to the recorder (its SetNetParameter), from a device
// entry's quality and frame-rate indexes. Only a super user (user level 2) gets the entry's
// own values; others get fixed ones.
struct NetParameter {
    int32_t rate_value;
    int32_t frames_per_second;

    bool operator==(const NetParameter&) const = default;
};

// Quality 0, 1, other: 384, 512, 1024.
int32_t RateBase(int32_t quality_index);
// (rate base / 25) per frame per second: 15, 20 or 40.
int32_t StreamRateValue(int32_t quality_index, int32_t frames_per_second);

// After a log-in: frame-rate index 0, 1, other give 6, 10, 16; ordinary users 480 at 16.
NetParameter LiveViewNetParameter(int user_level, int32_t quality_index, int32_t frame_rate_index);
// After a settings change: frame-rate index 1, 2, other give 10, 16, 6; ordinary users 300
// at 10.
NetParameter ChangedNetParameter(int user_level, int32_t quality_index, int32_t frame_rate_index);
