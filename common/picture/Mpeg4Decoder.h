#pragma once

#include <xvid.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/picture/VideoDecoder.h"

// An MPEG-4 Visual decoder for one display channel. The stream's picture size arrives in its
// VOL headers; decoded pictures go straight into the caller's contiguous 4:2:0 buffer with the
// stream width as row stride. Used by one frame thread at a time; the opened size may be read
// and reset from other threads.
class CMpeg4Decoder : public CVideoDecoder {
public:
    // The library reads the bitstream in whole words, a few bytes past its end.
    static constexpr std::size_t kInputPaddingBytes = 16;

    CMpeg4Decoder();
    ~CMpeg4Decoder() override;
    CMpeg4Decoder(const CMpeg4Decoder&) = delete;
    CMpeg4Decoder& operator=(const CMpeg4Decoder&) = delete;

    // Closes what is open and creates a decoder; simd = 0 forces plain code. Returns the create
    // result: 0 on success, negative on failure.
    int Open(int simd, int width, int height);
    // Decodes one payload into output, which holds a picture of the opened size. Returns 100,
    // or -1 for missing data or output, a negative length, a decoder error that yielded no
    // picture, or a picture too large for the output (decoded without output, so the stream
    // stays in step).
    int Decode(const uint8_t* data, int length, uint8_t* output);
    // The same with the output's size given explicitly.
    int Decode(const uint8_t* data, int length, uint8_t* output, size_t output_size_bytes);
    // One decoder call; a null output decodes without writing a picture. data must stay
    // readable for kInputPaddingBytes past length (Decode passes its padded copy). Returns the
    // bytes consumed, or negative.
    int DecodeOnce(const uint8_t* data, uint8_t* output, int length, xvid_dec_stats_t* statistics);
    // Destroys the decoder instance. Returns the library's result.
    int Destroy();
    // Destroys an open decoder (status becomes the destroy result). Returns 100.
    int Close();

    bool OpenFor(int width, int height) override { return Open(1, width, height) == 0; }
    // Decodes into picture, which then holds the picture as a contiguous one of the opened size.
    DecodeResult DecodeFrame(const uint8_t* data, int length, uint8_t* picture,
                             std::size_t picture_bytes) override;
    DecodedPicture Decoded() const override { return decoded_; }
    int StreamWidth() const { return stream_width_; }
    int StreamHeight() const { return stream_height_; }
    int Status() const { return status_; }
    // Whether the last Decode wrote a picture (a VOL alone or a held-back frame writes none).
    bool WrotePicture() const { return wrote_picture_; }

private:
    bool OutputFits(size_t output_size_bytes) const;

    int stream_width_ = 0;
    int stream_height_ = 0;
    // Size of the latest VOL, which is what the library writes even when it is smaller than
    // the stream size.
    int vol_width_ = 0;
    int vol_height_ = 0;
    std::vector<uint8_t> padded_;  // the payload and zeroed padding; kept between calls
    void* handle_ = nullptr;
    int status_ = 0;
    bool wrote_picture_ = false;
    DecodedPicture decoded_;
};
