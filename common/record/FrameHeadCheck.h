#pragma once

#include "platform/records/NetFrameHead.h"

// The highest channel number the live view takes a frame of; the frame gate narrows it to the
// channels it follows.
inline constexpr int32_t kLastFrameChannel = kFrameChannels - 1;

// 1 when the header is an audio or video frame of channel 0..kLastFrameChannel whose payload a
// recording would keep (at most kMaxRecordedFrameBytes); else -1.
int IsValidFrameHead(const _NET_FRAME_HEAD_& header);
