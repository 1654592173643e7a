#pragma once

#include "platform/records/NetFrameHead.h"

#include <cstdint>
#include <functional>
#include <span>

// Where a streamer hands each frame it makes: the header and its payload.
using FrameSink = std::function<void(const _NET_FRAME_HEAD_&, std::span<const uint8_t>)>;
