#include "tools/recorder-emulator/LoopEncoder.h"

#include "tools/recorder-emulator/ChannelPicture.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/frame.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
}

#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace {

struct ContextDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};

std::string AvError(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return text;
}

const AVCodec* FindEncoder(VideoCodec codec) {
    if (codec == VideoCodec::kH264) return avcodec_find_encoder_by_name("libx264");
    return avcodec_find_encoder(AV_CODEC_ID_MPEG4);
}

void Configure(AVCodecContext* ctx, VideoCodec codec, PictureSize size, int frame_count, int fps) {
    ctx->width = size.width;
    ctx->height = size.height;
    ctx->pix_fmt = AV_PIX_FMT_YUV420P;
    ctx->time_base = AVRational{1, fps};
    ctx->framerate = AVRational{fps, 1};
    ctx->gop_size = frame_count;
    ctx->max_b_frames = 0;
    // Loops are encoded in parallel, one encoder per thread.
    ctx->thread_count = 1;
    if (codec == VideoCodec::kH264) {
        av_opt_set(ctx->priv_data, "preset", "ultrafast", 0);
        av_opt_set(ctx->priv_data, "tune", "zerolatency", 0);
        av_opt_set(ctx->priv_data, "crf", "28", 0);
        const std::string params = "keyint=" + std::to_string(frame_count) +
                                   ":min-keyint=" + std::to_string(frame_count) +
                                   ":scenecut=0:repeat-headers=1:annexb=1";
        av_opt_set(ctx->priv_data, "x264-params", params.c_str(), 0);
    } else {
        ctx->flags |= AV_CODEC_FLAG_QSCALE;
        ctx->global_quality = FF_QP2LAMBDA * 6;
    }
}

void Drain(AVCodecContext* ctx, AVPacket* packet, FrameLoop& loop) {
    for (;;) {
        const int rc = avcodec_receive_packet(ctx, packet);
        if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
        if (rc < 0) throw std::runtime_error("encoder output failed: " + AvError(rc));
        EncodedFrame frame;
        frame.payload.assign(packet->data, packet->data + packet->size);
        frame.key = (packet->flags & AV_PKT_FLAG_KEY) != 0;
        loop.frames.push_back(std::move(frame));
        av_packet_unref(packet);
    }
}

void CopyPicture(const Yuv420Picture& picture, AVFrame* frame) {
    for (int row = 0; row < picture.height; ++row) {
        std::memcpy(frame->data[0] + row * frame->linesize[0], &picture.y[row * picture.width],
                    picture.width);
    }
    const int cw = picture.width / 2;
    for (int row = 0; row < picture.height / 2; ++row) {
        std::memcpy(frame->data[1] + row * frame->linesize[1], &picture.u[row * cw], cw);
        std::memcpy(frame->data[2] + row * frame->linesize[2], &picture.v[row * cw], cw);
    }
}

}  // namespace

FrameLoop EncodeChannelLoop(VideoCodec codec, PictureSize size, int channel, int frame_count,
                            int fps) {
    // The encoders' statistics would flood the emulator's output at every start.
    static std::once_flag quiet;
    std::call_once(quiet, [] { av_log_set_level(AV_LOG_ERROR); });
    const AVCodec* encoder = FindEncoder(codec);
    if (!encoder) {
        throw std::runtime_error(codec == VideoCodec::kH264 ? "libx264 encoder not available"
                                                            : "mpeg4 encoder not available");
    }
    std::unique_ptr<AVCodecContext, ContextDeleter> ctx(avcodec_alloc_context3(encoder));
    std::unique_ptr<AVFrame, FrameDeleter> frame(av_frame_alloc());
    std::unique_ptr<AVPacket, PacketDeleter> packet(av_packet_alloc());
    if (!ctx || !frame || !packet) throw std::runtime_error("out of memory for the encoder");
    Configure(ctx.get(), codec, size, frame_count, fps);
    int rc = avcodec_open2(ctx.get(), encoder, nullptr);
    if (rc < 0) throw std::runtime_error("cannot open the encoder: " + AvError(rc));

    frame->format = AV_PIX_FMT_YUV420P;
    frame->width = size.width;
    frame->height = size.height;
    rc = av_frame_get_buffer(frame.get(), 0);
    if (rc < 0) throw std::runtime_error("cannot allocate a picture: " + AvError(rc));

    FrameLoop loop;
    loop.frames.reserve(frame_count);
    for (int i = 0; i < frame_count; ++i) {
        rc = av_frame_make_writable(frame.get());
        if (rc < 0) throw std::runtime_error("picture not writable: " + AvError(rc));
        CopyPicture(DrawChannelPicture(size.width, size.height, channel, i, frame_count),
                    frame.get());
        frame->pts = i;
        frame->pict_type = i == 0 ? AV_PICTURE_TYPE_I : AV_PICTURE_TYPE_NONE;
        rc = avcodec_send_frame(ctx.get(), frame.get());
        if (rc < 0) throw std::runtime_error("encoder input failed: " + AvError(rc));
        Drain(ctx.get(), packet.get(), loop);
    }
    rc = avcodec_send_frame(ctx.get(), nullptr);
    if (rc < 0) throw std::runtime_error("encoder flush failed: " + AvError(rc));
    Drain(ctx.get(), packet.get(), loop);

    // The frame numbers sent rely on exactly one key frame, at the start.
    bool shape_ok = static_cast<int>(loop.frames.size()) == frame_count && loop.frames[0].key;
    for (size_t i = 1; shape_ok && i < loop.frames.size(); ++i)
        shape_ok = !loop.frames[i].key;
    if (!shape_ok) throw std::runtime_error("encoder gave an unexpected frame sequence");
    return loop;
}
