#include "tools/recorder-emulator/LiveStreamer.h"

#include "tools/recorder-emulator/AudioTone.h"

#include <algorithm>

namespace {

// Behind by more than this, a streamer drops the missed frames rather than sending a burst.
constexpr int64_t kMaxLagUs = 500000;

int64_t IntervalOfFps(int fps) { return 1000000 / std::clamp(fps, 1, 30); }

}  // namespace

LiveStreamer::LiveStreamer(std::vector<ChannelStream> channels, int fps, Audio audio,
                           int64_t now_us)
    : channels_(std::move(channels)),
      frame_interval_us_(IntervalOfFps(fps)),
      audio_(audio),
      audio_interval_us_(AudioBlockDurationUs(audio.block_bytes)),
      next_video_us_(now_us),
      next_audio_us_(now_us) {}

void LiveStreamer::Pump(int64_t now_us, int64_t clock_s, const FrameSink& sink) {
    if (now_us - next_video_us_ > kMaxLagUs) next_video_us_ = now_us;
    if (now_us - next_audio_us_ > kMaxLagUs) next_audio_us_ = now_us;
    const auto time_s = static_cast<int32_t>(clock_s);
    while (next_video_us_ <= now_us) {
        for (ChannelStream& stream : channels_) {
            _NET_FRAME_HEAD_ head;
            const EncodedFrame& frame = stream.Next(time_s, head);
            sink(head, frame.payload);
        }
        next_video_us_ += frame_interval_us_;
    }
    if (audio_.channel_mask == 0) return;
    while (next_audio_us_ <= now_us) {
        for (int channel = 0; channel < 16; ++channel) {
            if (!(audio_.channel_mask >> channel & 1)) continue;
            const auto block = AudioBlock(channel, audio_.block_bytes, audio_blocks_);
            _NET_FRAME_HEAD_ head{};
            head.nLength = static_cast<uint32_t>(block.size());
            head.nTime = time_s;
            head.cType = 'A';
            head.nChannel = channel;
            sink(head, block);
        }
        ++audio_blocks_;
        next_audio_us_ += audio_interval_us_;
    }
}

void LiveStreamer::SetFps(int fps) { frame_interval_us_ = IntervalOfFps(fps); }

void LiveStreamer::RequestKeyFrame() {
    for (ChannelStream& stream : channels_)
        stream.RequestKeyFrame();
}

int64_t LiveStreamer::UntilNextUs(int64_t now_us) const {
    int64_t next = next_video_us_;
    if (audio_.channel_mask != 0) next = std::min(next, next_audio_us_);
    return std::max<int64_t>(0, next - now_us);
}
