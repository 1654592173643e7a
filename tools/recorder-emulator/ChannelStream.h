#pragma once

#include "platform/records/NetFrameHead.h"
#include "tools/recorder-emulator/FrameLoop.h"
#include "tools/recorder-emulator/RecorderConfig.h"

#include <memory>

// The video of one channel: its encoded loop played round and round, each frame with the
// header a recorder gives it. A new stream and a key-frame request start at the loop's key
// frame, so the frame number since the key frame is the position in the loop.
class ChannelStream {
public:
    ChannelStream(int channel, ChannelFormat format, std::shared_ptr<const FrameLoop> loop);

    // The next frame, stamped with time_s; the payload lives as long as the loop.
    const EncodedFrame& Next(int32_t time_s, _NET_FRAME_HEAD_& head);

    void RequestKeyFrame() { key_requested_ = true; }

    int Channel() const { return channel_; }

private:
    int channel_;
    ChannelFormat format_;
    std::shared_ptr<const FrameLoop> loop_;
    size_t position_ = 0;
    bool key_requested_ = false;
};
