#include "platform/waveout/AlsaWaveOutDevice.h"

#include <algorithm>
#include <cerrno>
#include <vector>

namespace {

// Longest single wait on the PCM; bounds how late a reset or close is noticed.
constexpr int kWaitSliceMs = 50;

}  // namespace

AlsaWaveOutDevice::AlsaWaveOutDevice(snd_pcm_t* pcm, const WaveFormat& format,
                                     WaveDoneCallback done)
    : pcm_(pcm), frame_bytes_(format.BlockAlignBytes()), done_(std::move(done)) {
    thread_ = std::thread(&AlsaWaveOutDevice::Run, this);
}

AlsaWaveOutDevice::~AlsaWaveOutDevice() {
    {
        std::lock_guard lock(mutex_);
        closing_ = true;
        interrupt_ = true;
    }
    wake_.notify_one();
    thread_.join();
    snd_pcm_close(pcm_);
}

void AlsaWaveOutDevice::Write(WaveHeader& header) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back(&header);
    }
    wake_.notify_one();
}

void AlsaWaveOutDevice::Reset() {
    std::unique_lock lock(mutex_);
    flush_requested_ = true;
    interrupt_ = true;
    wake_.notify_one();
    flushed_.wait(lock, [this] { return !flush_requested_; });
}

void AlsaWaveOutDevice::Run() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return closing_ || flush_requested_ || !queue_.empty(); });
        if (closing_ || flush_requested_) {
            Flush(lock);
            if (closing_) {
                return;
            }
            continue;
        }
        // The header stays queued while it plays, so a flush can hand it back.
        WaveHeader* header = queue_.front();
        lock.unlock();
        const bool finished = Play(*header);
        lock.lock();
        if (finished) {
            queue_.pop_front();
            lock.unlock();
            done_(*header);
            lock.lock();
        }
    }
}

bool AlsaWaveOutDevice::Play(const WaveHeader& header) {
    const uint8_t* next = header.data;
    // A trailing part of a frame cannot be played and is left out.
    auto frames_left = static_cast<snd_pcm_uframes_t>(header.length_bytes / frame_bytes_);
    while (frames_left > 0) {
        if (interrupt_) {
            return false;
        }
        snd_pcm_sframes_t written = snd_pcm_writei(pcm_, next, frames_left);
        if (written == -EAGAIN) {
            snd_pcm_wait(pcm_, kWaitSliceMs);
            continue;
        }
        if (written < 0) {
            // Underrun after a pause in the stream, or a suspended device: start over. A
            // device that is gone drops the rest of the block.
            if (snd_pcm_recover(pcm_, static_cast<int>(written), 1) < 0) {
                return true;
            }
            continue;
        }
        next += static_cast<std::size_t>(written) * frame_bytes_;
        frames_left -= static_cast<snd_pcm_uframes_t>(written);
        // Play at once rather than when ALSA's buffer is full: a short block must be heard.
        if (snd_pcm_state(pcm_) == SND_PCM_STATE_PREPARED) {
            snd_pcm_start(pcm_);
        }
    }
    return true;
}

void AlsaWaveOutDevice::Flush(std::unique_lock<std::mutex>& lock) {
    std::vector<WaveHeader*> returned(queue_.begin(), queue_.end());
    queue_.clear();
    lock.unlock();
    snd_pcm_drop(pcm_);
    snd_pcm_prepare(pcm_);
    for (WaveHeader* header : returned) {
        done_(*header);
    }
    lock.lock();
    interrupt_ = closing_;
    flush_requested_ = false;
    flushed_.notify_all();
}
