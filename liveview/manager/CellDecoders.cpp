#include "liveview/manager/CellDecoders.h"

#include <chrono>
#include <thread>

#include "common/picture/PictureFormat.h"
#include "liveview/manager/EngineLog.h"

namespace {

constexpr auto kH264RetryPause = std::chrono::milliseconds(100);
constexpr auto kMpeg4RetryPause = std::chrono::milliseconds(200);

}  // namespace

CCellDecoders::CCellDecoders(CDrawLock& open_lock, const std::atomic<bool>& stopping, Where where)
    : open_lock_(open_lock), stopping_(stopping), where_(std::move(where)) {
    for (auto& device : prepared_device_)
        device.store(-1, std::memory_order_relaxed);
}

int CCellDecoders::Prepare(int a, int channel, int f, int cell, int32_t codec_word, bool all_dvr,
                           int current_device) {
    int width = 0;
    int height = 0;
    if (!FormatPictureSize(f, width, height)) return 0;
    bool reopen = false;
    if (prepared_all_dvr_[cell].exchange(all_dvr ? 1 : 0, std::memory_order_relaxed) != all_dvr) {
        reopen = true;
    }
    if (!all_dvr && prepared_device_[cell].exchange(current_device, std::memory_order_relaxed) !=
                        current_device) {
        reopen = true;
    }
    CVideoDecoder& decoder = decoders_[cell].For(codec_word);
    if (reopen) decoder.SetOpenedHeight(-1);
    if (!CDecoderPair::NeedsOpen(decoder, width, height)) return 1;
    const bool h264 = CDecoderPair::IsH264(codec_word);
    const auto retry_pause = h264 ? kH264RetryPause : kMpeg4RetryPause;
    const auto where = [&] { return where_(a, channel, cell); };
    for (int tries = 1;; ++tries) {
        bool opened;
        {
            std::lock_guard lock(open_lock_);
            opened = decoder.OpenFor(width, height);
        }
        if (opened) {
            if (tries > 1) {
                EngineDiag(spdlog::level::info, where, "the decoder opened at try {}", tries);
            }
            return 1;
        }
        // The first failure says so; the tries after it only when asked for in detail.
        EngineDiag(tries == 1 ? spdlog::level::warn : spdlog::level::debug, where,
                   "the {} decoder did not open for {} x {} (try {}); trying again in {} ms",
                   h264 ? "H.264" : "MPEG-4", width, height, tries, retry_pause.count());
        // A decoder that never opens must not hold up the thread's end.
        if (stopping_.load(std::memory_order_relaxed)) return -1;
        std::this_thread::sleep_for(retry_pause);
    }
}
