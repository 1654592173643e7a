#pragma once

#include <alsa/asoundlib.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/waveout/WaveFormat.h"
#include "platform/waveout/WaveOutDevice.h"

// An open ALSA PCM in non-blocking mode, fed by a thread of its own. The PCM is touched only by
// that thread; it waits on the PCM in short slices so a reset or close is seen within one.
class AlsaWaveOutDevice : public WaveOutDevice {
public:
    // Takes the open, configured pcm.
    AlsaWaveOutDevice(snd_pcm_t* pcm, const WaveFormat& format, WaveDoneCallback done);
    ~AlsaWaveOutDevice() override;
    AlsaWaveOutDevice(const AlsaWaveOutDevice&) = delete;
    AlsaWaveOutDevice& operator=(const AlsaWaveOutDevice&) = delete;

    void Write(WaveHeader& header) override;
    void Reset() override;

private:
    void Run();
    // Hands the header's frames to ALSA. False when interrupted by a reset or close.
    bool Play(const WaveHeader& header);
    // Drops what ALSA still holds and hands every queued header back. Called with lock held.
    void Flush(std::unique_lock<std::mutex>& lock);

    snd_pcm_t* pcm_;
    std::size_t frame_bytes_;
    WaveDoneCallback done_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable flushed_;
    std::deque<WaveHeader*> queue_;
    bool flush_requested_ = false;
    bool closing_ = false;
    std::atomic<bool> interrupt_{false};
    std::thread thread_;
};
