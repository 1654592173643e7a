#include "common/picture/tests/TestStreams.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/opt.h>
}

namespace test_streams {

std::vector<uint8_t> SyntheticPicture(int width, int height, int index) {
    const int chroma_w = width / 2;
    const int chroma_h = height / 2;
    std::vector<uint8_t> picture(static_cast<size_t>(width) * height * 3 / 2);
    const int box_x = (index * 7) % (width / 2);
    const int box_y = (index * 5) % (height / 2);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool in_box =
                x >= box_x && x < box_x + width / 4 && y >= box_y && y < box_y + height / 4;
            picture[static_cast<size_t>(y) * width + x] =
                static_cast<uint8_t>(in_box ? 220 : 40 + (x + y + 2 * index) % 128);
        }
    }
    uint8_t* u = picture.data() + static_cast<size_t>(width) * height;
    uint8_t* v = u + static_cast<size_t>(chroma_w) * chroma_h;
    for (int y = 0; y < chroma_h; ++y) {
        for (int x = 0; x < chroma_w; ++x) {
            u[y * chroma_w + x] = static_cast<uint8_t>(64 + (x * 128) / chroma_w);
            v[y * chroma_w + x] = static_cast<uint8_t>(64 + (y * 128) / chroma_h);
        }
    }
    return picture;
}

namespace {

void Check(int result, const char* what) {
    if (result < 0) {
        throw std::runtime_error(std::string(what) + " failed");
    }
}

void Drain(AVCodecContext* context, AVPacket* packet, std::vector<std::vector<uint8_t>>& payloads) {
    while (avcodec_receive_packet(context, packet) == 0) {
        payloads.emplace_back(packet->data, packet->data + packet->size);
        av_packet_unref(packet);
    }
}

}  // namespace

std::vector<std::vector<uint8_t>> EncodeStream(Codec codec, int width, int height, int frames,
                                               int gop_size) {
    const AVCodec* encoder = codec == Codec::kH264 ? avcodec_find_encoder_by_name("libx264")
                                                   : avcodec_find_encoder(AV_CODEC_ID_MPEG4);
    if (encoder == nullptr) {
        throw std::runtime_error("encoder missing");
    }
    AVCodecContext* context = avcodec_alloc_context3(encoder);
    context->width = width;
    context->height = height;
    context->pix_fmt = AV_PIX_FMT_YUV420P;
    context->time_base = AVRational{1, 25};
    context->framerate = AVRational{25, 1};
    context->gop_size = gop_size;
    context->max_b_frames = 0;
    context->thread_count = 1;
    if (codec == Codec::kH264) {
        av_opt_set(context->priv_data, "preset", "ultrafast", 0);
        av_opt_set(context->priv_data, "tune", "zerolatency", 0);
        av_opt_set(context->priv_data, "crf", "18", 0);
    } else {
        context->flags |= AV_CODEC_FLAG_QSCALE;
        context->global_quality = FF_QP2LAMBDA * 3;
    }
    Check(avcodec_open2(context, encoder, nullptr), "encoder open");

    AVFrame* frame = av_frame_alloc();
    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = width;
    frame->height = height;
    Check(av_frame_get_buffer(frame, 0), "frame buffer");
    AVPacket* packet = av_packet_alloc();
    std::vector<std::vector<uint8_t>> payloads;
    for (int i = 0; i < frames; ++i) {
        Check(av_frame_make_writable(frame), "frame writable");
        const std::vector<uint8_t> picture = SyntheticPicture(width, height, i);
        const uint8_t* planes[3] = {picture.data(), picture.data() + width * height,
                                    picture.data() + width * height * 5 / 4};
        for (int plane = 0; plane < 3; ++plane) {
            const int w = plane == 0 ? width : width / 2;
            const int h = plane == 0 ? height : height / 2;
            for (int y = 0; y < h; ++y) {
                std::memcpy(frame->data[plane] + y * frame->linesize[plane], planes[plane] + y * w,
                            w);
            }
        }
        frame->pts = i;
        frame->quality = context->global_quality;
        Check(avcodec_send_frame(context, frame), "send frame");
        Drain(context, packet, payloads);
    }
    Check(avcodec_send_frame(context, nullptr), "flush");
    Drain(context, packet, payloads);
    av_packet_free(&packet);
    av_frame_free(&frame);
    avcodec_free_context(&context);
    return payloads;
}

double LumaPsnr(const uint8_t* a, const uint8_t* b, int width, int height) {
    double squared = 0;
    const long count = static_cast<long>(width) * height;
    for (long i = 0; i < count; ++i) {
        const double d = static_cast<double>(a[i]) - b[i];
        squared += d * d;
    }
    if (squared == 0) {
        return 100;
    }
    return 10 * std::log10(255.0 * 255.0 * count / squared);
}

}  // namespace test_streams
