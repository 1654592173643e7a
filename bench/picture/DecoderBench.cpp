// The decoder wrappers against the bare libraries, decoding the same clips (each starts with a
// key frame) on decoders opened once.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}
#include <xvid.h>

#include "bench/support/BenchPairs.h"
#include "common/picture/H264Decoder.h"
#include "common/picture/Mpeg4Decoder.h"
#include "common/picture/tests/TestStreams.h"

namespace {

using test_streams::Codec;
using Clip = std::vector<std::vector<uint8_t>>;

constexpr int kClipFrames = 50;

const Clip& GetClip(Codec codec, int w, int h) {
    static std::map<std::tuple<Codec, int, int>, Clip> clips;
    auto& clip = clips[{codec, w, h}];
    if (clip.empty()) {
        clip = test_streams::EncodeStream(codec, w, h, kClipFrames, 25);
    }
    return clip;
}

class H264Ours {
public:
    H264Ours(int w, int h) { decoder_.Open(w, h); }
    void Decode(const Clip& clip) {
        for (const auto& payload : clip) {
            int got = 0;
            decoder_.Decode(decoder_.Picture(), &got, payload.data(),
                            static_cast<int>(payload.size()));
            benchmark::DoNotOptimize(got);
        }
    }

private:
    CH264Decoder decoder_;
};

class H264Bare {
public:
    H264Bare(int w, int h) {
        const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
        context_ = avcodec_alloc_context3(codec);
        context_->width = w;
        context_->height = h;
        context_->thread_count = 1;
        avcodec_open2(context_, codec, nullptr);
    }
    ~H264Bare() {
        av_packet_free(&packet_);
        av_frame_free(&frame_);
        avcodec_free_context(&context_);
    }
    void Decode(const Clip& clip) {
        for (const auto& payload : clip) {
            packet_->data = const_cast<uint8_t*>(payload.data());
            packet_->size = static_cast<int>(payload.size());
            avcodec_send_packet(context_, packet_);
            const int got = avcodec_receive_frame(context_, frame_);
            benchmark::DoNotOptimize(got);
        }
    }

private:
    AVCodecContext* context_ = nullptr;
    AVFrame* frame_ = av_frame_alloc();
    AVPacket* packet_ = av_packet_alloc();
};

class Mpeg4Ours {
public:
    Mpeg4Ours(int w, int h) : output_(static_cast<size_t>(w) * h * 3 / 2) {
        decoder_.Open(1, w, h);
    }
    void Decode(const Clip& clip) {
        for (const auto& payload : clip) {
            const int result =
                decoder_.Decode(payload.data(), static_cast<int>(payload.size()), output_.data());
            benchmark::DoNotOptimize(result);
        }
    }

private:
    CMpeg4Decoder decoder_;
    std::vector<uint8_t> output_;
};

class Mpeg4Bare {
public:
    Mpeg4Bare(int w, int h) : width_(w), output_(static_cast<size_t>(w) * h * 3 / 2) {
        xvid_gbl_init_t init{};
        init.version = XVID_VERSION;
        xvid_global(nullptr, XVID_GBL_INIT, &init, nullptr);
        xvid_dec_create_t create{};
        create.version = XVID_VERSION;
        xvid_decore(nullptr, XVID_DEC_CREATE, &create, nullptr);
        handle_ = create.handle;
    }
    ~Mpeg4Bare() { xvid_decore(handle_, XVID_DEC_DESTROY, nullptr, nullptr); }
    void Decode(const Clip& clip) {
        for (const auto& payload : clip) {
            const uint8_t* data = payload.data();
            int length = static_cast<int>(payload.size());
            // A key frame's payload starts with its VOL: feed it until a picture comes out.
            for (;;) {
                xvid_dec_frame_t frame{};
                frame.version = XVID_VERSION;
                frame.bitstream = const_cast<uint8_t*>(data);
                frame.length = length;
                frame.output.csp = XVID_CSP_I420;
                frame.output.plane[0] = output_.data();
                frame.output.stride[0] = width_;
                xvid_dec_stats_t stats{};
                stats.version = XVID_VERSION;
                const int used = xvid_decore(handle_, XVID_DEC_DECODE, &frame, &stats);
                if (used > 0) {
                    data += used;
                    length -= used;
                }
                if (stats.type > 0 || length <= 1 || used <= 0) {
                    break;
                }
            }
            benchmark::DoNotOptimize(output_.data());
        }
    }

private:
    int width_;
    std::vector<uint8_t> output_;
    void* handle_ = nullptr;
};

template <typename Ours, typename Bare>
void Paired(benchmark::State& state, Codec codec, int w, int h, const std::string& what) {
    const Clip& clip = GetClip(codec, w, h);
    Ours ours(w, h);
    Bare bare(w, h);
    RunPaired(
        state, what, [&] { ours.Decode(clip); }, [&] { bare.Decode(clip); }, [] {});
}

const bool kRegistered = [] {
    for (const auto& [w, h] : {std::pair{352, 288}, std::pair{720, 576}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        const std::string h264 = "CH264Decoder " + size + " vs libavcodec";
        const std::string mpeg4 = "CMpeg4Decoder " + size + " vs xvidcore";
        benchmark::RegisterBenchmark(("CH264Decoder/paired/" + size).c_str(),
                                     Paired<H264Ours, H264Bare>, Codec::kH264, w, h, h264)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3);
        benchmark::RegisterBenchmark(("CMpeg4Decoder/paired/" + size).c_str(),
                                     Paired<Mpeg4Ours, Mpeg4Bare>, Codec::kMpeg4, w, h, mpeg4)
            ->Unit(benchmark::kMillisecond)
            ->MinTime(3);
    }
    return true;
}();

}  // namespace
