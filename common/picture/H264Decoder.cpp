#include "common/picture/H264Decoder.h"

#include <cstring>

#include "common/picture/AvcodecLibrary.h"

CH264Decoder::CH264Decoder() = default;

CH264Decoder::~CH264Decoder() { Close(); }

int CH264Decoder::Open(int width, int height) {
    Close();
    // No size until the open succeeds, so callers that compare sizes try again.
    SetOpenedSize(-1, -1);
    av_ = Avcodec();
    if (av_ == nullptr) {
        return -1;
    }
    codec_ = av_->find_decoder(AV_CODEC_ID_H264);
    if (codec_ == nullptr) {
        return -1;
    }
    context_ = av_->alloc_context3(codec_);
    picture_ = av_->frame_alloc();
    packet_ = av_->packet_alloc();
    if (context_ == nullptr || picture_ == nullptr || packet_ == nullptr) {
        Close();
        return -1;
    }
    context_->width = width;
    context_->height = height;
    // A program keeps hundreds of decoders; each decodes on its caller's thread only.
    context_->thread_count = 1;
    if (av_->open2(context_, codec_, nullptr) < 0) {
        Close();
        return -1;
    }
    SetOpenedSize(width, height);
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
    if (!FillPacket(data, length)) {
        return AVERROR(ENOMEM);
    }
    int sent = av_->send_packet(context_, packet_);
    if (sent == AVERROR(EAGAIN)) {
        // A picture of an earlier payload was never taken out; the newer one replaces it.
        av_->receive_frame(context_, picture);
        sent = av_->send_packet(context_, packet_);
    }
    av_->packet_unref(packet_);
    if (sent < 0) {
        return sent;
    }
    const int received = av_->receive_frame(context_, picture);
    if (received == 0) {
        *got_picture = 1;
    } else if (received != AVERROR(EAGAIN)) {
        return received;
    }
    return length;
}

// The payload is copied into a padded buffer that the packet owns, so libavcodec takes a
// reference instead of allocating a copy of its own for every frame; payloads without the
// padding its readers need are safe. The buffer is reused once the decoder has let it go.
bool CH264Decoder::FillPacket(const uint8_t* data, int length) {
    const auto needed = static_cast<std::size_t>(length) + AV_INPUT_BUFFER_PADDING_SIZE;
    if (payload_ == nullptr || !av_->buffer_is_writable(payload_) || payload_->size < needed) {
        av_->buffer_unref(&payload_);
        payload_ = av_->buffer_alloc(needed);
        if (payload_ == nullptr) {
            return false;
        }
    }
    std::memcpy(payload_->data, data, static_cast<std::size_t>(length));
    std::memset(payload_->data + length, 0, AV_INPUT_BUFFER_PADDING_SIZE);
    packet_->buf = av_->buffer_ref(payload_);
    if (packet_->buf == nullptr) {
        return false;
    }
    packet_->data = payload_->data;
    packet_->size = length;
    return true;
}

int CH264Decoder::Close() {
    // Nothing was made without the library.
    if (av_ == nullptr) {
        return 1;
    }
    if (picture_ != nullptr) {
        av_->frame_free(&picture_);
    }
    if (packet_ != nullptr) {
        av_->packet_free(&packet_);
    }
    av_->buffer_unref(&payload_);
    if (context_ != nullptr) {
        av_->free_context(&context_);
    }
    codec_ = nullptr;
    return 1;
}

DecodeResult CH264Decoder::DecodeFrame(const uint8_t* data, int length, uint8_t* /*picture*/,
                                       std::size_t /*picture_bytes*/) {
    int got_picture = 0;
    if (Decode(picture_, &got_picture, data, length) < 0) return DecodeResult::kFailed;
    // Without a new picture the planes still hold an old one.
    return got_picture == 0 ? DecodeResult::kNoPicture : DecodeResult::kPicture;
}

DecodedPicture CH264Decoder::DecodedPictureOf(const AVFrame* frame) {
    if (frame == nullptr) return {};
    return {frame->data[0],     frame->data[1],     frame->data[2], frame->linesize[0],
            frame->linesize[1], frame->linesize[2], frame->width,   frame->height};
}
