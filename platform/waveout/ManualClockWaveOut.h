#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/waveout/WaveOutBackend.h"

class ManualClockWaveOutDevice;

// Backend for tests: devices that play only as far as the test moves their clock, a record
// of what they played, and opens that fail on request like a machine without a sound card.
class ManualClockWaveOut : public WaveOutBackend {
public:
    struct PlayedBlock {
        int channels;
        std::vector<uint8_t> bytes;
    };

    ManualClockWaveOut();
    ~ManualClockWaveOut() override;

    std::unique_ptr<WaveOutDevice> Open(const WaveFormat& format, WaveDoneCallback done,
                                        std::string& error) override;

    // Later opens fail with this error; an empty error lets them succeed again.
    void SetOpenError(const std::string& error);
    // Moves the clock of every open device on; returns once their notifications are sent.
    void Advance(int duration_ms);
    // Every buffer played to its end, in the order played.
    std::vector<PlayedBlock> Played() const;
    int OpenDevices() const;

private:
    struct Shared {
        // Held while devices are advanced, so none can go away meanwhile.
        std::mutex devices_mutex;
        std::vector<ManualClockWaveOutDevice*> devices;
        // Taken by the devices' threads while they play; never wait on a device under it.
        std::mutex mutex;
        std::string open_error;
        std::vector<PlayedBlock> played;
    };

    std::shared_ptr<Shared> shared_;
};
