#pragma once

#include <cstdint>

#include "common/picture/H264Decoder.h"
#include "common/picture/Mpeg4Decoder.h"

// A display channel's decoders, one per codec: the recorder's codec word says which one
// decodes its frames. A decoder is re-opened when a frame's picture size is not the one it
// holds.
class CDecoderPair {
public:
    // The decoder of the codec word: H.264 for kCodecH264, MPEG-4 for any other.
    CVideoDecoder& For(int32_t codec_word);
    static bool IsH264(int32_t codec_word);

    // Both opened for the size, as a frame thread starts.
    void OpenBoth(int width, int height);
    // Opens for the size each of the two that is not open yet. One that is open keeps the
    // stream it decodes: opened afresh it would lose the stream's headers and fail every frame
    // up to the next key frame.
    void OpenUnopened(int width, int height);

    // Whether the decoder must be re-opened for a picture of width x height.
    static bool NeedsOpen(const CVideoDecoder& decoder, int width, int height) {
        return decoder.OpenedWidth() != width || decoder.OpenedHeight() != height;
    }

private:
    CH264Decoder h264_;
    CMpeg4Decoder mpeg4_;
};
