#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "common/record/KeyFrameFlags.h"

// The playback window's members that its decode thread shares. Each is written by one side
// (the key-frame flags by both, which only clear or set them) and read whole, so each is its
// own atomic; relaxed order is enough, nothing else is published through them.
struct PlaybackShared {
    static constexpr int kRows = 4;
    static constexpr int kChannels = 16;

    // Play state: 2 after start-up, 0 while pictures may be drawn, 5 after STOP.
    static constexpr int kPlayStateStart = 2;
    static constexpr int kPlayStateShowing = 0;
    static constexpr int kPlayStateStopped = 5;

    // Written by the window thread.
    std::atomic<int> play_state{kPlayStateStart};
    std::array<std::atomic<int>, kRows> row_channels{};  // 0 = none, n = camera n
    std::atomic<int> channel_mask{0};                    // bit n-1 for row camera n
    std::atomic<int> audio_flag{0};
    std::atomic<int> fast_flag{0};
    std::atomic<int> backup_mode{0};
    std::atomic<int> slider_drag{0};
    std::atomic<int> window_drag{0};
    std::atomic<int> gdi_flag{0};
    // Screen rectangle of the video window: left, top, right, bottom.
    std::array<std::atomic<int>, 4> grid_rect{};

    // Written by the decode thread.
    std::atomic<std::int64_t> play_time{0};  // frame time of the last video header
    std::atomic<int> backup_byte_count{0};
    KeyFrameFlags<kChannels> key_frame_flags;
};
