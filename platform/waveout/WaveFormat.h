#pragma once

#include <cstddef>

// PCM format of a wave-out device. The recorders' audio is 8000 Hz 16-bit with 1 or 2
// channels, and that is all the layer plays.
struct WaveFormat {
    int channels = 1;
    int samples_per_second = 8000;
    int bits_per_sample = 16;

    std::size_t BlockAlignBytes() const {
        return static_cast<std::size_t>(channels) * static_cast<std::size_t>(bits_per_sample / 8);
    }
    std::size_t BytesPerSecond() const {
        return BlockAlignBytes() * static_cast<std::size_t>(samples_per_second);
    }
    bool IsSupported() const {
        return (channels == 1 || channels == 2) && samples_per_second == 8000 &&
               bits_per_sample == 16;
    }
};
