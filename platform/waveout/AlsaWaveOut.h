#pragma once

#include <string>

#include "platform/waveout/WaveOutBackend.h"

// Plays through an ALSA PCM device by name ("default" for the programs; "null" plays nothing
// and needs no sound card).
class AlsaWaveOut : public WaveOutBackend {
public:
    explicit AlsaWaveOut(std::string device_name = "default");

    std::unique_ptr<WaveOutDevice> Open(const WaveFormat& format, WaveDoneCallback done,
                                        std::string& error) override;

private:
    std::string device_name_;
};
