#pragma once

#include <cstdint>
#include <limits>

#include "common/record/FrameGate.h"
#include "platform/records/NetFrameHead.h"

// Which frames of a backup's stream its pair takes: those whose head a pair's reader can
// follow. A video frame needs a picture size code the format knows and its number in
// sequence (after a refused one the channel waits for its next key frame, so the pair shows no
// gap); every frame needs a time near the span asked for; an audio frame a channel the
// recorder announced.
class CBackupFrameCheck {
public:
    // Frame times further than this from the span are refused: the recorder's clock may be
    // set to another zone than the window's.
    static constexpr std::int64_t kTimeMargin_s = 86400;

    // A new stream: times from first_s to last_s (seconds since 1970), audio of the channels
    // of audio_mask. Until then every time and audio channel passes.
    void Begin(std::int64_t first_s, std::int64_t last_s, std::uint32_t audio_mask);
    // Forgets the sequence, keeps the span and channels.
    void Restart();
    bool Accept(const _NET_FRAME_HEAD_& header);

private:
    CFrameGate sequence_;
    std::int64_t first_s_ = std::numeric_limits<std::int64_t>::min() / 2;
    std::int64_t last_s_ = std::numeric_limits<std::int64_t>::max() / 2;
    std::uint32_t audio_mask_ = 0xffffffffu;
};
