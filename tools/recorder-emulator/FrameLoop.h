#pragma once

#include <cstdint>
#include <vector>

// A short encoded clip of one channel, played round and round. Frame 0 is the only key
// frame, so the frame number since the key frame is the position in the loop and a key
// frame on request means starting the loop over.
struct EncodedFrame {
    std::vector<uint8_t> payload;
    bool key = false;
};

struct FrameLoop {
    std::vector<EncodedFrame> frames;
};
