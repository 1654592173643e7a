#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>

#include "common/picture/DecoderPair.h"
#include "liveview/core/streaming/WindowMap.h"
#include "platform/surface/DrawLock.h"

// The decoders of the 256 video cells, a pair per cell, and what each was last opened for.
//
// Locks: a cell's mutex lets one frame thread at a time use its decoders, also while the view
// changes hands; the holder keeps it from the decode to the draw, as the decoder's planes are
// drawn from. Opening a decoder also takes the engine's critical section (open_lock). What a
// cell was prepared for is atomic: it is read and exchanged under the cell's mutex, and other
// threads only reset a decoder's opened size.
class CCellDecoders {
public:
    static constexpr int kCells = CWindowMap::kCells;

    // Names a device's channel and cell in the diagnostic lines.
    using Where = std::function<std::string(int a, int channel, int cell)>;

    CCellDecoders(CDrawLock& open_lock, const std::atomic<bool>& stopping, Where where);

    std::unique_lock<std::mutex> Hold(int cell) { return std::unique_lock(mutex_[cell]); }
    CDecoderPair& Pair(int cell) { return decoders_[cell]; }

    // The cell's decoder of the codec opened for format f of device a's channel (a and channel
    // below 0: unnamed), re-opened when the view moved between one device and all devices or
    // to another device since. A decoder that will not open is tried again after a pause
    // until it opens or the engine stops. 1 opened; 0 no format; -1 given up at the stop. The
    // cell held.
    int Prepare(int a, int channel, int f, int cell, int32_t codec_word, bool all_dvr,
                int current_device);

private:
    CDrawLock& open_lock_;
    const std::atomic<bool>& stopping_;
    const Where where_;
    std::array<CDecoderPair, kCells> decoders_;
    std::array<std::mutex, kCells> mutex_;
    std::array<std::atomic<int>, kCells> prepared_all_dvr_{};
    std::array<std::atomic<int>, kCells> prepared_device_;
};
