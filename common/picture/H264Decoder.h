#pragma once

#include <cstdint>

#include "common/picture/VideoDecoder.h"

struct AvcodecLibrary;
struct AVBufferRef;
struct AVCodec;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

// An H.264 decoder for one display channel: open for a picture size, decode one frame payload
// per call into planar 4:2:0, close. Used by one frame thread at a time; the opened size may be
// read and reset from other threads.
class CH264Decoder : public CVideoDecoder {
public:
    CH264Decoder();
    ~CH264Decoder() override;
    CH264Decoder(const CH264Decoder&) = delete;
    CH264Decoder& operator=(const CH264Decoder&) = delete;

    // The planes of a libavcodec picture; no planes for a null frame.
    static DecodedPicture DecodedPictureOf(const AVFrame* frame);

    // Closes what is open, then opens a decoder for width x height. 1, or -1 (left closed,
    // opened size -1 by -1).
    int Open(int width, int height);
    // Decodes one payload into picture (normally Picture()). Returns the bytes used, or a
    // negative value on error; got_picture says whether picture now holds a decoded picture.
    int Decode(AVFrame* picture, int* got_picture, const uint8_t* data, int length);
    // Frees the decoder; a second Close does nothing. Returns 1.
    int Close();

    AVFrame* Picture() const { return picture_; }

    bool OpenFor(int width, int height) override { return Open(width, height) == 1; }
    // Decodes into Picture(); the caller's picture is not used.
    DecodeResult DecodeFrame(const uint8_t* data, int length, uint8_t* picture,
                             std::size_t picture_bytes) override;
    DecodedPicture Decoded() const override { return DecodedPictureOf(picture_); }

private:
    bool FillPacket(const uint8_t* data, int length);

    const AvcodecLibrary* av_ = nullptr;  // loaded by the first open
    AVCodecContext* context_ = nullptr;
    const AVCodec* codec_ = nullptr;
    AVFrame* picture_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVBufferRef* payload_ = nullptr;  // padded copy of the payload, reused while unshared
};
