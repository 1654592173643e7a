#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/waveout/WaveHeader.h"
#include "platform/waveout/WaveOutBackend.h"

// Plays the recorders' audio, 8000 Hz 16-bit PCM handed over one frame payload at a time,
// through five rotating one-second buffers. It never waits: a block whose buffer is still
// playing is dropped, and the ring stays where it is, so blocks play strictly in ring order.
// One thread writes; done notifications arrive on the device's thread and share only the
// busy marks (each header's user word) with it.
class CWaveOutPlayer {
public:
    static constexpr int kBufferCount = 5;
    static constexpr std::size_t kBufferBytesPerChannel = 16000;

    // Plays through ALSA's default device.
    CWaveOutPlayer();
    explicit CWaveOutPlayer(WaveOutBackend& backend);
    virtual ~CWaveOutPlayer();
    CWaveOutPlayer(const CWaveOutPlayer&) = delete;
    CWaveOutPlayer& operator=(const CWaveOutPlayer&) = delete;

    // Returns 1, whether or not a device could be opened; without one, every Write is ignored.
    int Open(int channels);
    // Queues one block in the next buffer of the ring. A block longer than a buffer is cut to
    // the buffer.
    void Write(const void* data, std::size_t length_bytes);
    void Close();

private:
    void WaveOutProc(WaveHeader& header);

    WaveOutBackend& backend_;
    std::array<WaveHeader, kBufferCount> headers_;
    std::array<std::unique_ptr<uint8_t[]>, kBufferCount> buffers_;
    std::size_t buffer_bytes_ = 0;
    std::unique_ptr<WaveOutDevice> device_;
    int next_ = 0;
    int open_ = 0;
};
