#include "H264Decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
}

CH264Decoder::CH264Decoder() = default;

CH264Decoder::~CH264Decoder() { Close(); }

int CH264Decoder::Open(int width, int height) {
    Close();
    // No size until the open succeeds, so callers that compare sizes try again.
    opened_width_.store(-1, std::memory_order_relaxed);
    opened_height_.store(-1, std::memory_order_relaxed);
    codec_ = avcodec_find_decoder(AV_CODEC_ID_H264);
    if (codec_ == nullptr) {
        return -1;
    }
    context_ = avcodec_alloc_context3(codec_);
    picture_ = av_frame_alloc();
    packet_ = av_packet_alloc();
    if (context_ == nullptr || picture_ == nullptr || packet_ == nullptr) {
        Close();
        return -1;
    }
    context_->width = width;
    context_->height = height;
    // A program keeps hundreds of decoders; each decodes on its caller's thread only.
    context_->thread_count = 1;
    if (avcodec_open2(context_, codec_, nullptr) < 0) {
        Close();
        return -1;
    }
    opened_width_.store(width, std::memory_order_relaxed);
    opened_height_.store(height, std::memory_order_relaxed);
    return 1;
}

int CH264Decoder::Decode(AVFrame* picture, int* got_picture, const uint8_t* data, int length) {
    if (got_picture != nullptr) {
        *got_picture = 0;
    }
    if (context_ == nullptr || picture == nullptr || got_picture == nullptr || data == nullptr ||
        length < 0) {
        return -1;
    }
    if (length == 0) {
        // An empty packet would end the stream for good; it simply holds nothing to decode.
        return 0;
    }
    // The packet does not own the bytes, so libavcodec copies them into a padded buffer of
    // its own; payloads without the padding its readers need are safe.
    packet_->data = const_cast<uint8_t*>(data);
    packet_->size = length;
    int sent = avcodec_send_packet(context_, packet_);
    if (sent == AVERROR(EAGAIN)) {
        // A picture of an earlier payload was never taken out; the newer one replaces it.
        avcodec_receive_frame(context_, picture);
        sent = avcodec_send_packet(context_, packet_);
    }
    packet_->data = nullptr;
    packet_->size = 0;
    if (sent < 0) {
        return sent;
    }
    const int received = avcodec_receive_frame(context_, picture);
    if (received == 0) {
        *got_picture = 1;
    } else if (received != AVERROR(EAGAIN)) {
        return received;
    }
    return length;
}

int CH264Decoder::Close() {
    if (picture_ != nullptr) {
        av_frame_free(&picture_);
    }
    if (packet_ != nullptr) {
        av_packet_free(&packet_);
    }
    if (context_ != nullptr) {
        avcodec_free_context(&context_);
    }
    codec_ = nullptr;
    return 1;
}
