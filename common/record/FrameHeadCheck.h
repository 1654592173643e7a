#pragma once

#include <cstdint>

#include "NetFrameHead.h"

// Largest payload a frame header may announce, exclusive; the payload buffer is larger.
constexpr uint32_t kFramePayloadLimitBytes = 304289;

// 1 when the header is an audio or video frame of channel 0..255 with a payload below the
// limit; else -1.
int IsValidFrameHead(const _NET_FRAME_HEAD_& header);
