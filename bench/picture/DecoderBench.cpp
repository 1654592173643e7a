// The decoder wrappers against the bare libraries on the same clips.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
}
#include <xvid.h>

#include "BenchPairs.h"
#include "H264Decoder.h"
#include "Mpeg4Decoder.h"
#include "TestStreams.h"

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

void H264Wrapper(benchmark::State& state, int w, int h) {
    const Clip& clip = GetClip(Codec::kH264, w, h);
    for (auto _ : state) {
        CH264Decoder decoder;
        decoder.Open(w, h);
        for (const auto& payload : clip) {
            int got = 0;
            decoder.Decode(decoder.Picture(), &got, payload.data(),
                           static_cast<int>(payload.size()));
            benchmark::DoNotOptimize(got);
        }
    }
    state.SetItemsProcessed(state.iterations() * kClipFrames);
}

void H264Bare(benchmark::State& state, int w, int h) {
    const Clip& clip = GetClip(Codec::kH264, w, h);
    const AVCodec* codec = avcodec_find_decoder(AV_CODEC_ID_H264);
    for (auto _ : state) {
        AVCodecContext* context = avcodec_alloc_context3(codec);
        AVFrame* frame = av_frame_alloc();
        AVPacket* packet = av_packet_alloc();
        context->width = w;
        context->height = h;
        context->thread_count = 1;
        avcodec_open2(context, codec, nullptr);
        for (const auto& payload : clip) {
            packet->data = const_cast<uint8_t*>(payload.data());
            packet->size = static_cast<int>(payload.size());
            avcodec_send_packet(context, packet);
            const int got = avcodec_receive_frame(context, frame);
            benchmark::DoNotOptimize(got);
        }
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&context);
    }
    state.SetItemsProcessed(state.iterations() * kClipFrames);
}

void Mpeg4Wrapper(benchmark::State& state, int w, int h) {
    const Clip& clip = GetClip(Codec::kMpeg4, w, h);
    std::vector<uint8_t> output(static_cast<size_t>(w) * h * 3 / 2);
    for (auto _ : state) {
        CMpeg4Decoder decoder;
        decoder.Open(1, w, h);
        for (const auto& payload : clip) {
            const int result =
                decoder.Decode(payload.data(), static_cast<int>(payload.size()), output.data());
            benchmark::DoNotOptimize(result);
        }
    }
    state.SetItemsProcessed(state.iterations() * kClipFrames);
}

void Mpeg4Bare(benchmark::State& state, int w, int h) {
    const Clip& clip = GetClip(Codec::kMpeg4, w, h);
    std::vector<uint8_t> output(static_cast<size_t>(w) * h * 3 / 2);
    xvid_gbl_init_t init{};
    init.version = XVID_VERSION;
    xvid_global(nullptr, XVID_GBL_INIT, &init, nullptr);
    for (auto _ : state) {
        xvid_dec_create_t create{};
        create.version = XVID_VERSION;
        xvid_decore(nullptr, XVID_DEC_CREATE, &create, nullptr);
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
                frame.output.plane[0] = output.data();
                frame.output.stride[0] = w;
                xvid_dec_stats_t stats{};
                stats.version = XVID_VERSION;
                const int used = xvid_decore(create.handle, XVID_DEC_DECODE, &frame, &stats);
                if (used > 0) {
                    data += used;
                    length -= used;
                }
                if (stats.type > 0 || length <= 1 || used <= 0) {
                    break;
                }
            }
            benchmark::DoNotOptimize(output.data());
        }
        xvid_decore(create.handle, XVID_DEC_DESTROY, nullptr, nullptr);
    }
    state.SetItemsProcessed(state.iterations() * kClipFrames);
}

const bool registered = [] {
    for (const auto& [w, h] : {std::pair{352, 288}, std::pair{720, 576}}) {
        const std::string size = std::to_string(w) + "x" + std::to_string(h);
        struct Subject {
            const char* name;
            void (*ours)(benchmark::State&, int, int);
            void (*peer)(benchmark::State&, int, int);
            const char* peer_name;
        };
        for (const Subject& s : {Subject{"CH264Decoder", H264Wrapper, H264Bare, "libavcodec"},
                                 Subject{"CMpeg4Decoder", Mpeg4Wrapper, Mpeg4Bare, "xvidcore"}}) {
            const std::string ours = std::string(s.name) + "/ours/" + size;
            const std::string peer = std::string(s.name) + "/" + s.peer_name + "/" + size;
            Repeated(benchmark::RegisterBenchmark(ours.c_str(), s.ours, w, h))
                ->Unit(benchmark::kMillisecond);
            Repeated(benchmark::RegisterBenchmark(peer.c_str(), s.peer, w, h))
                ->Unit(benchmark::kMillisecond);
            AddBenchPair(std::string(s.name) + " " + size + " vs " + s.peer_name, ours, peer);
        }
    }
    return true;
}();

}  // namespace
