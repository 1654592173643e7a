#pragma once

#include <atomic>
#include <cstdint>

struct AVBufferRef;
struct AVCodec;
struct AVCodecContext;
struct AVFrame;
struct AVPacket;

// An H.264 decoder for one display channel: open for a picture size, decode one frame payload
// per call into planar 4:2:0, close. Used by one frame thread at a time; the opened size may be
// read and reset from other threads.
class CH264Decoder {
public:
    CH264Decoder();
    virtual ~CH264Decoder();
    CH264Decoder(const CH264Decoder&) = delete;
    CH264Decoder& operator=(const CH264Decoder&) = delete;

    // Closes what is open, then opens a decoder for width x height. 1, or -1 (left closed,
    // opened size -1 by -1).
    int Open(int width, int height);
    // Decodes one payload into picture (normally Picture()). Returns the bytes used, or a
    // negative value on error; got_picture says whether picture now holds a decoded picture.
    int Decode(AVFrame* picture, int* got_picture, const uint8_t* data, int length);
    // Frees the decoder; a second Close does nothing. Returns 1.
    int Close();

    AVFrame* Picture() const { return picture_; }
    int OpenedWidth() const { return opened_width_.load(std::memory_order_relaxed); }
    int OpenedHeight() const { return opened_height_.load(std::memory_order_relaxed); }
    // Callers set -1 to make their next size comparison re-open the decoder.
    void SetOpenedHeight(int height) { opened_height_.store(height, std::memory_order_relaxed); }

private:
    bool FillPacket(const uint8_t* data, int length);

    AVCodecContext* context_ = nullptr;
    const AVCodec* codec_ = nullptr;
    AVFrame* picture_ = nullptr;
    AVPacket* packet_ = nullptr;
    AVBufferRef* payload_ = nullptr;  // padded copy of the payload, reused while unshared
    std::atomic<int> opened_width_{0};
    std::atomic<int> opened_height_{0};
};
