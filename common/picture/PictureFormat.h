#pragma once

#include <cstddef>

// The picture sizes a recorder sends: 720 pixels wide at full or half height, or 352 wide at
// half height, each in the 576-line or the 480-line standard.
inline constexpr int kFullWidth = 720;
inline constexpr int kCifWidth = 352;
inline constexpr int kFullHeight576 = 576;
inline constexpr int kFullHeight480 = 480;
// The largest picture as 24-bit rows: every picture and conversion buffer holds this much.
inline constexpr std::size_t kMaxPictureBgrBytes = std::size_t{kFullWidth} * kFullHeight576 * 3;

// A frame header's picture standard (1 the 480-line one, any other the 576-line one) and size
// code (0 full, 1 half height, 2 the 352-wide picture) make one format code.
inline constexpr int kSizeCodes = 3;
inline constexpr int kStandard480 = 1;
inline constexpr int kSizeCodeCif = 2;

inline constexpr int FormatCodeOf(int standard, int size_code) {
    return standard * kSizeCodes + size_code;
}

// Format code of a frame: picture standard x 3 + picture size code (both from the frame
// header). Sets the picture size and returns true; a negative code is no format.
bool FormatPictureSize(int format_code, int& width, int& height);
