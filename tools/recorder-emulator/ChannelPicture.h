#pragma once

#include <cstdint>
#include <vector>

// The test picture of one camera channel: a background in the channel's own colour, the
// camera number (channel + 1) drawn large in white, and a bar that moves along the bottom
// with the frame index so a running stream is visibly alive. Planar 4:2:0.
struct YuvColour {
    uint8_t y;
    uint8_t u;
    uint8_t v;
};

// Background colour of a channel (0..15); the sixteen colours differ clearly in hue or
// brightness, so a decoded picture tells which channel it came from.
YuvColour ChannelColour(int channel);

struct Yuv420Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> y;
    std::vector<uint8_t> u;
    std::vector<uint8_t> v;
};

Yuv420Picture DrawChannelPicture(int width, int height, int channel, int frame_index,
                                 int frame_count);
