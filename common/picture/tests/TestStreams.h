#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Synthetic pictures and the streams that libavcodec's encoders make of them.
namespace test_streams {

enum class Codec { kH264, kMpeg4 };

// A contiguous 4:2:0 picture: smooth gradients and a box that moves with index.
std::vector<uint8_t> SyntheticPicture(int width, int height, int index);

// One payload per picture, key frame every gop_size pictures, no reordering.
std::vector<std::vector<uint8_t>> EncodeStream(Codec codec, int width, int height, int frames,
                                               int gop_size = 12);

// Peak signal-to-noise ratio of two luma planes, in dB (100 for identical planes).
double LumaPsnr(const uint8_t* a, const uint8_t* b, int width, int height);

}  // namespace test_streams
