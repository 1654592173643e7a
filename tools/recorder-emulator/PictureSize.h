#pragma once

#include <optional>

// Width and height of a picture from the frame header's standard and size code: size 0 is
// 720 wide at full height, 1 is 720 wide at half height, 2 is 352 wide at half height;
// standard 1 selects the 480-line heights, anything else the 576-line heights.
struct PictureSize {
    int width = 0;
    int height = 0;
};

std::optional<PictureSize> PictureSizeOf(int standard, int size_code);
