#pragma once

#include "tools/recorder-emulator/ChannelStream.h"
#include "tools/recorder-emulator/DaySchedule.h"
#include "tools/recorder-emulator/FrameSink.h"

#include <cstdint>
#include <memory>
#include <vector>

// Playback of a span of one recorded day: frames of the asked channels while the schedule
// says they recorded, stamped with the recorded time. Normal speed plays one second of
// recording per second. Fast speed is not paced (as fast as the link takes it) and steps
// fast_factor frames of recording per frame sent. Gaps without any recording of the
// asked channels are skipped; a channel whose recording (re)starts begins at a key frame.
// Finished once the span's last recording has been sent.
class PlaybackStreamer {
public:
    struct Request {
        int64_t day_number = 0;
        int start_s = 0;  // seconds of the day
        int end_s = 0;
        uint32_t channel_mask = 0;
        bool audio = false;
        bool fast = false;
    };
    struct Pace {
        int fps = 25;
        int fast_factor = 16;
        uint32_t audio_mask = 0;  // channels that carry audio
        int audio_block_bytes = 320;
    };

    // channels: one stream per recorder channel, indexed by channel.
    PlaybackStreamer(std::shared_ptr<const DaySchedule> schedule, Request request,
                     std::vector<ChannelStream> channels, Pace pace, int64_t now_us);

    void Pump(int64_t now_us, const FrameSink& sink);
    void RequestKeyFrame();
    bool Finished() const { return finished_; }
    int64_t UntilNextUs(int64_t now_us) const;

private:
    void Tick(const FrameSink& sink);
    void SendAudio(uint32_t channels, int64_t until_us, const FrameSink& sink);

    std::shared_ptr<const DaySchedule> schedule_;
    Request request_;
    std::vector<ChannelStream> channels_;
    Pace pace_;
    int64_t tick_interval_us_;
    int64_t next_tick_us_;
    int64_t play_us_;  // recorder clock, microseconds since 1970
    int64_t end_us_;
    int64_t audio_us_;
    uint64_t audio_blocks_ = 0;
    uint32_t recording_ = 0;
    bool finished_ = false;
};
