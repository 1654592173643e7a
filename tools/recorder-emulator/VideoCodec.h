#pragma once

#include <cstdint>

// The codec word of the recorder state: this value means H.264, any other MPEG-4.
constexpr int32_t kH264CodecWord = 0x10001000;
constexpr int32_t kMpeg4CodecWord = 0x10002000;

enum class VideoCodec { kH264, kMpeg4 };

inline VideoCodec CodecOfWord(int32_t codec_word) {
    return codec_word == kH264CodecWord ? VideoCodec::kH264 : VideoCodec::kMpeg4;
}
