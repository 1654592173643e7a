#include "common/audio/WaveOutPlayer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "platform/diag/DiagLog.h"

namespace {

constexpr uint32_t kFree = 0;
constexpr uint32_t kBusy = 1;

}  // namespace

CWaveOutPlayer::CWaveOutPlayer() : CWaveOutPlayer(DefaultWaveOutBackend()) {}

CWaveOutPlayer::CWaveOutPlayer(WaveOutBackend& backend) : backend_(backend) {}

CWaveOutPlayer::~CWaveOutPlayer() { Close(); }

int CWaveOutPlayer::Open(int channels) {
    Close();
    WaveFormat format;
    format.channels = channels;
    std::string error;
    device_ = backend_.Open(
        format, [this](WaveHeader& header) { WaveOutProc(header); }, error);
    if (!device_) {
        // Audio is an extra: the programs carry on without it.
        diag::Log("audio").warn("{}; playing no sound", error);
    }
    next_ = 0;
    // One second of sound; nothing to hold for a format no device plays.
    buffer_bytes_ =
        format.IsSupported() ? kBufferBytesPerChannel * static_cast<std::size_t>(channels) : 0;
    for (int i = 0; i < kBufferCount; ++i) {
        buffers_[i] = std::make_unique<uint8_t[]>(buffer_bytes_);
        headers_[i].data = buffers_[i].get();
        headers_[i].length_bytes = 0;
        headers_[i].user.store(kFree);
    }
    open_ = 1;
    return 1;
}

void CWaveOutPlayer::Write(const void* data, std::size_t length_bytes) {
    if (!device_ || (data == nullptr && length_bytes > 0)) {
        return;
    }
    WaveHeader& header = headers_[next_];
    // Acquire: the device has finished reading the buffer before it is filled again.
    if (header.user.load(std::memory_order_acquire) != kFree) {
        return;
    }
    const std::size_t copy_bytes = std::min(length_bytes, buffer_bytes_);
    if (copy_bytes > 0) {
        std::memcpy(buffers_[next_].get(), data, copy_bytes);
    }
    header.length_bytes = copy_bytes;
    header.user.store(kBusy, std::memory_order_relaxed);
    device_->Write(header);
    next_ = (next_ + 1) % kBufferCount;
}

void CWaveOutPlayer::WaveOutProc(WaveHeader& header) {
    header.user.store(kFree, std::memory_order_release);
}

void CWaveOutPlayer::Close() {
    if (open_ == 0) {
        return;
    }
    if (device_) {
        device_->Reset();
        device_.reset();
    }
    for (int i = 0; i < kBufferCount; ++i) {
        headers_[i].data = nullptr;
        headers_[i].length_bytes = 0;
        buffers_[i].reset();
    }
    buffer_bytes_ = 0;
    open_ = 0;
}
