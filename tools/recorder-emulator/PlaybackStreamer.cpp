#include "tools/recorder-emulator/PlaybackStreamer.h"

#include "tools/recorder-emulator/AudioTone.h"

#include <algorithm>

namespace {

constexpr int64_t kUsPerSecond = 1000000;
// A fast playback is not paced; it hands over this many steps per call so that the caller
// can answer requests in between.
constexpr int kFastTicksPerPump = 8;

}  // namespace

PlaybackStreamer::PlaybackStreamer(std::shared_ptr<const DaySchedule> schedule, Request request,
                                   std::vector<ChannelStream> channels, Pace pace, int64_t now_us)
    : schedule_(std::move(schedule)),
      request_(request),
      channels_(std::move(channels)),
      pace_(pace),
      tick_interval_us_(kUsPerSecond / std::clamp(pace.fps, 1, 30)),
      next_tick_us_(now_us) {
    const int64_t midnight_us = request.day_number * kSecondsPerDay * kUsPerSecond;
    play_us_ = midnight_us + int64_t{std::clamp(request.start_s, 0, kSecondsPerDay)} * kUsPerSecond;
    end_us_ = midnight_us + int64_t{std::clamp(request.end_s, 0, kSecondsPerDay)} * kUsPerSecond;
    audio_us_ = play_us_;
    finished_ = play_us_ >= end_us_;
}

void PlaybackStreamer::Pump(int64_t now_us, const FrameSink& sink) {
    if (request_.fast) {
        for (int i = 0; i < kFastTicksPerPump && !finished_; ++i)
            Tick(sink);
        return;
    }
    // A slow reader slows the playback down instead of losing frames of the span.
    if (now_us - next_tick_us_ > kUsPerSecond) next_tick_us_ = now_us;
    while (!finished_ && next_tick_us_ <= now_us) {
        Tick(sink);
        next_tick_us_ += tick_interval_us_;
    }
}

void PlaybackStreamer::Tick(const FrameSink& sink) {
    const int64_t day = request_.day_number;
    const uint32_t mask = request_.channel_mask;
    int64_t t_s = play_us_ / kUsPerSecond;
    uint32_t recording = schedule_->ChannelsRecordingAt(day, t_s, mask);
    if (recording == 0) {
        const auto next = schedule_->NextRecordedTime(day, t_s, end_us_ / kUsPerSecond, mask);
        if (!next) {
            finished_ = true;
            return;
        }
        play_us_ = *next * kUsPerSecond;
        audio_us_ = play_us_;
        t_s = *next;
        recording = schedule_->ChannelsRecordingAt(day, t_s, mask);
    }
    for (ChannelStream& stream : channels_) {
        const uint32_t bit = 1u << stream.Channel();
        if (!(recording & bit)) continue;
        if (!(recording_ & bit)) stream.RequestKeyFrame();
        _NET_FRAME_HEAD_ head;
        const EncodedFrame& frame = stream.Next(static_cast<int32_t>(t_s), head);
        sink(head, frame.payload);
    }
    recording_ = recording;
    const int64_t step_us = tick_interval_us_ * (request_.fast ? pace_.fast_factor : 1);
    if (request_.audio) SendAudio(recording & pace_.audio_mask, play_us_ + step_us, sink);
    play_us_ += step_us;
    if (play_us_ >= end_us_) finished_ = true;
}

void PlaybackStreamer::SendAudio(uint32_t channels, int64_t until_us, const FrameSink& sink) {
    const int64_t block_us = AudioBlockDurationUs(pace_.audio_block_bytes);
    while (audio_us_ < until_us) {
        for (int channel = 0; channel < 16 && channels; ++channel) {
            if (!(channels >> channel & 1)) continue;
            const auto block = AudioBlock(channel, pace_.audio_block_bytes, audio_blocks_);
            _NET_FRAME_HEAD_ head{};
            head.nLength = static_cast<uint32_t>(block.size());
            head.nTime = static_cast<int32_t>(audio_us_ / kUsPerSecond);
            head.cType = 'A';
            head.nChannel = channel;
            sink(head, block);
        }
        ++audio_blocks_;
        audio_us_ += block_us;
    }
}

void PlaybackStreamer::RequestKeyFrame() {
    for (ChannelStream& stream : channels_)
        stream.RequestKeyFrame();
}

int64_t PlaybackStreamer::UntilNextUs(int64_t now_us) const {
    if (request_.fast) return 0;
    return std::max<int64_t>(0, next_tick_us_ - now_us);
}
