#pragma once

#include <cstdint>
#include <optional>

// Where a channel's name comes from and where it lands in a decoded picture: the channel's
// strip of the image for the picture's width, stamped near the picture's top-left corner (720
// wide) or near its bottom (352 wide).
struct ChannelNamePlace {
    bool cif = false;  // from the 352-wide image
    int source_x = 0;
    int source_y = 0;
    int source_width = 0;
    int source_height = 0;
    int x = 0;  // in the picture
    int y = 0;
};

// A light neutral grey-white: Y 0xE6, both chroma planes 0x80.
inline constexpr std::uint32_t kChannelNameColour = 0xE68080;

// Empty for a channel outside 0..15.
std::optional<ChannelNamePlace> ChannelNamePlaceOf(int format_code, int channel);
