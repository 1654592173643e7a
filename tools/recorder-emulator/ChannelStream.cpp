#include "tools/recorder-emulator/ChannelStream.h"

#include <cstring>

ChannelStream::ChannelStream(int channel, ChannelFormat format,
                             std::shared_ptr<const FrameLoop> loop)
    : channel_(channel), format_(format), loop_(std::move(loop)) {}

const EncodedFrame& ChannelStream::Next(int32_t time_s, _NET_FRAME_HEAD_& head) {
    if (key_requested_) {
        position_ = 0;
        key_requested_ = false;
    }
    const EncodedFrame& frame = loop_->frames[position_];
    std::memset(&head, 0, sizeof head);
    head.nLength = static_cast<uint32_t>(frame.payload.size());
    head.nKeyFrame = frame.key ? 1 : 0;
    head.nTime = time_s;
    head.cType = 'V';
    head.nChannel = channel_;
    head.nStandard = format_.standard;
    head.nSize = format_.size_code;
    head.nFrameNo = static_cast<int32_t>(position_);
    position_ = (position_ + 1) % loop_->frames.size();
    return frame;
}
