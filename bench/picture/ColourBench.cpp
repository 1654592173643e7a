// Colour conversion against libswscale's SIMD converters on the same pictures.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "BenchPairs.h"
#include "ColourConversion.h"
#include "TestStreams.h"
#include "YuvTables.h"

namespace {

struct Picture {
    Picture(int w, int h) : width(w), height(h), yuv(test_streams::SyntheticPicture(w, h, 3)) {}
    const uint8_t* Luma() const { return yuv.data(); }
    const uint8_t* U() const { return yuv.data() + width * height; }
    const uint8_t* V() const { return yuv.data() + width * height * 5 / 4; }
    int width;
    int height;
    std::vector<uint8_t> yuv;
};

void Ours(benchmark::State& state, bool bgr, int w, int h) {
    InitYuvTables();
    const Picture picture(w, h);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    for (auto _ : state) {
        if (bgr) {
            Yuv420ToBgr24(picture.yuv.data(), w, h, w * 3, out.data());
        } else {
            Yuv420ToYuy2(picture.Luma(), picture.U(), picture.V(), out.data(), w, h);
        }
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void Swscale(benchmark::State& state, bool bgr, int w, int h) {
    const Picture picture(w, h);
    const AVPixelFormat format = bgr ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_YUYV422;
    // Point sampling selects libswscale's fastest unscaled converters for both formats.
    SwsContext* context = sws_getContext(w, h, AV_PIX_FMT_YUV420P, w, h, format, SWS_POINT, nullptr,
                                         nullptr, nullptr);
    std::vector<uint8_t> out(static_cast<size_t>(w) * h * 3);
    const uint8_t* source[3] = {picture.Luma(), picture.U(), picture.V()};
    const int source_strides[3] = {w, w / 2, w / 2};
    uint8_t* destination[1] = {out.data()};
    const int destination_strides[1] = {bgr ? w * 3 : w * 2};
    for (auto _ : state) {
        sws_scale(context, source, source_strides, 0, h, destination, destination_strides);
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    sws_freeContext(context);
}

const bool kRegistered = [] {
    for (const bool bgr : {true, false}) {
        for (const auto& [w, h] : {std::pair{352, 288}, std::pair{720, 576}}) {
            const std::string size = std::to_string(w) + "x" + std::to_string(h);
            const std::string subject = bgr ? "Yuv420ToBgr24" : "Yuv420ToYuy2";
            const std::string ours = subject + "/ours/" + size;
            const std::string peer = subject + "/swscale/" + size;
            Repeated(benchmark::RegisterBenchmark(ours.c_str(), Ours, bgr, w, h))
                ->Unit(benchmark::kMicrosecond);
            Repeated(benchmark::RegisterBenchmark(peer.c_str(), Swscale, bgr, w, h))
                ->Unit(benchmark::kMicrosecond);
            AddBenchPair(subject + " " + size + " vs swscale", ours, peer);
        }
    }
    return true;
}();

}  // namespace
