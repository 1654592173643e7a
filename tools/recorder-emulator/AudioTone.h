#pragma once

#include <cstdint>
#include <vector>

// 8000 Hz 16-bit PCM in the two block sizes recorders send: 320 bytes of mono (20 ms) and
// 4096 bytes of stereo (128 ms). Each channel sounds its own tone, continuous over blocks.
constexpr int kAudioSampleRate = 8000;

// Length of a block in microseconds.
int64_t AudioBlockDurationUs(int block_bytes);

// Block number block_index of channel's tone.
std::vector<uint8_t> AudioBlock(int channel, int block_bytes, uint64_t block_index);
