#include "tools/recorder-emulator/AudioTone.h"

#include <cmath>
#include <numbers>

namespace {

int ChannelsOfBlock(int block_bytes) { return block_bytes >= 4096 ? 2 : 1; }

}  // namespace

int64_t AudioBlockDurationUs(int block_bytes) {
    const int frames = block_bytes / (2 * ChannelsOfBlock(block_bytes));
    return int64_t{frames} * 1000000 / kAudioSampleRate;
}

std::vector<uint8_t> AudioBlock(int channel, int block_bytes, uint64_t block_index) {
    const int channels = ChannelsOfBlock(block_bytes);
    const int frames = block_bytes / (2 * channels);
    const double hz = 300.0 + 50.0 * channel;
    std::vector<uint8_t> block(block_bytes, 0);
    const uint64_t first = block_index * frames;
    for (int i = 0; i < frames; ++i) {
        // The phase wraps per second so long runs keep full precision.
        const double t = static_cast<double>((first + i) % kAudioSampleRate) / kAudioSampleRate;
        const auto sample = static_cast<int16_t>(6000.0 * std::sin(2 * std::numbers::pi * hz * t));
        for (int c = 0; c < channels; ++c) {
            const size_t at = (static_cast<size_t>(i) * channels + c) * 2;
            block[at] = static_cast<uint8_t>(sample & 0xff);
            block[at + 1] = static_cast<uint8_t>((sample >> 8) & 0xff);
        }
    }
    return block;
}
