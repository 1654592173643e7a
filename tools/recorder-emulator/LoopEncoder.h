#pragma once

#include "tools/recorder-emulator/FrameLoop.h"
#include "tools/recorder-emulator/PictureSize.h"
#include "tools/recorder-emulator/VideoCodec.h"

#include <string>

// Encodes the test pictures of one channel into a loop: H.264 as an Annex-B byte stream with
// its parameter sets before the key frame (libx264, no frame delay), MPEG-4 Visual with its
// VOL header before the key frame (the native encoder). Throws std::runtime_error when the
// encoder is missing or fails.
FrameLoop EncodeChannelLoop(VideoCodec codec, PictureSize size, int channel, int frame_count,
                            int fps);
