#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

// A decoded 4:2:0 picture where its decoder left it: three planes with their row strides.
struct DecodedPicture {
    const uint8_t* luma = nullptr;
    const uint8_t* u = nullptr;
    const uint8_t* v = nullptr;
    int luma_stride = 0;
    int u_stride = 0;
    int v_stride = 0;
    int width = 0;
    int height = 0;
};

// Whether the picture has planes and is at least width x height: a stream whose pictures are
// smaller than its frame headers claim would be read past its planes.
inline bool Covers(const DecodedPicture& picture, int width, int height) {
    return picture.luma != nullptr && picture.u != nullptr && picture.v != nullptr &&
           picture.width >= width && picture.height >= height;
}

// The planes of a contiguous 4:2:0 picture of width x height (even sizes): U at width x height,
// V at width x height x 5/4.
inline DecodedPicture ContiguousPicture(const uint8_t* picture, int width, int height) {
    const std::size_t luma_bytes = static_cast<std::size_t>(width) * height;
    return {picture,
            picture + luma_bytes,
            picture + luma_bytes * 5 / 4,
            width,
            width / 2,
            width / 2,
            width,
            height};
}

enum class DecodeResult {
    kFailed,     // a decoder error: decoding goes on from the next key frame
    kNoPicture,  // taken in, but no new picture (a stream header alone, a held-back frame)
    kPicture,    // Decoded() holds the new picture
};

// What the frame paths ask of a display channel's video decoder, whatever its codec: open it
// for a picture size, feed it one frame payload at a time, read the picture it made.
class CVideoDecoder {
public:
    virtual ~CVideoDecoder() = default;

    // Closes what is open and opens for width x height; false when it did not open.
    virtual bool OpenFor(int width, int height) = 0;
    // The size opened for; read and reset from other threads than the decoding one.
    int OpenedWidth() const { return opened_width_.load(std::memory_order_relaxed); }
    int OpenedHeight() const { return opened_height_.load(std::memory_order_relaxed); }
    // Callers set -1 to make their next size comparison re-open the decoder.
    void SetOpenedHeight(int height) { opened_height_.store(height, std::memory_order_relaxed); }

    // Decodes one payload. A decoder that writes its pictures into the caller's memory writes
    // into picture: picture_bytes of contiguous 4:2:0 of the opened size.
    virtual DecodeResult DecodeFrame(const uint8_t* data, int length, uint8_t* picture,
                                     std::size_t picture_bytes) = 0;
    // The picture of the last kPicture result; valid until the next call on the decoder.
    virtual DecodedPicture Decoded() const = 0;

protected:
    void SetOpenedSize(int width, int height) {
        opened_width_.store(width, std::memory_order_relaxed);
        opened_height_.store(height, std::memory_order_relaxed);
    }

private:
    std::atomic<int> opened_width_{0};
    std::atomic<int> opened_height_{0};
};
