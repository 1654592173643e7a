#pragma once

#include <memory>
#include <string>

#include "platform/waveout/WaveFormat.h"
#include "platform/waveout/WaveOutDevice.h"

// Opens wave-out devices: ALSA for the programs, a clock under the test's control for tests.
class WaveOutBackend {
public:
    virtual ~WaveOutBackend() = default;

    // The open device, or nullptr with error saying why (no sound card, format not playable).
    virtual std::unique_ptr<WaveOutDevice> Open(const WaveFormat& format, WaveDoneCallback done,
                                                std::string& error) = 0;
};

// ALSA's default device.
WaveOutBackend& DefaultWaveOutBackend();
