#pragma once

#include "tools/recorder-emulator/ChannelStream.h"
#include "tools/recorder-emulator/FrameSink.h"

#include <cstdint>
#include <vector>

// Live view of a recorder: one video frame per streamed channel every 1/fps seconds, and,
// when audio is asked for, the audio blocks of the streamed channels that carry audio.
// Frame times are the recorder's clock. Pump is called often; it makes every frame due by
// now and skips ahead instead of bursting when it falls far behind.
class LiveStreamer {
public:
    struct Audio {
        uint32_t channel_mask = 0;  // streamed channels that carry audio
        int block_bytes = 320;
    };

    LiveStreamer(std::vector<ChannelStream> channels, int fps, Audio audio, int64_t now_us);

    void Pump(int64_t now_us, int64_t clock_s, const FrameSink& sink);
    void SetFps(int fps);
    void RequestKeyFrame();

    // Microseconds until the next frame is due, for the caller's wait.
    int64_t UntilNextUs(int64_t now_us) const;

private:
    std::vector<ChannelStream> channels_;
    int64_t frame_interval_us_;
    Audio audio_;
    int64_t audio_interval_us_;
    int64_t next_video_us_;
    int64_t next_audio_us_;
    uint64_t audio_blocks_ = 0;
};
