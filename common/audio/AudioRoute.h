#pragma once

#include <cstdint>

// Which audio the live view plays, and on which player.

// The device's audio channel: the lowest set bit of its audio mask, or -1 for none.
int AudioChannelOfMask(uint32_t audio_mask);

// Blocks of 4096 bytes or more are stereo; shorter ones go to the mono player.
constexpr uint32_t kStereoBlockBytes = 4096;
inline bool IsStereoBlock(uint32_t length_bytes) { return length_bytes >= kStereoBlockBytes; }
