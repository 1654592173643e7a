// Colour conversion against libswscale's SIMD converters on the same pictures: one picture
// converted again and again (in cache), and a ring of pictures too large for the caches, so
// that each conversion reads and writes memory as a frame thread's would.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

extern "C" {
#include <libavutil/pixfmt.h>
#include <libswscale/swscale.h>
}

#include "bench/support/BenchPairs.h"
#include "common/picture/ColourConversion.h"
#include "common/picture/YuvTables.h"
#include "common/picture/tests/TestStreams.h"

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

// More than the last-level cache holds, sources and results together.
constexpr std::size_t kColdBytes = 256u << 20;

// Copies of one picture and their output buffers: one, or enough to fill kColdBytes.
struct Ring {
    Ring(int w, int h, bool cold) {
        const Picture picture(w, h);
        const std::size_t out_bytes = static_cast<size_t>(w) * h * 3;
        const std::size_t count = cold ? kColdBytes / (picture.yuv.size() + out_bytes) : 1;
        for (std::size_t i = 0; i < count; ++i) {
            pictures.push_back(picture);
            outs.emplace_back(out_bytes, uint8_t{0});  // touched now, not while timed
        }
    }
    std::vector<Picture> pictures;
    std::vector<std::vector<uint8_t>> outs;
};

void Ours(benchmark::State& state, bool bgr, int w, int h, bool cold) {
    InitYuvTables();
    Ring ring(w, h, cold);
    std::size_t i = 0;
    for (auto _ : state) {
        const Picture& picture = ring.pictures[i];
        uint8_t* out = ring.outs[i].data();
        if (bgr) {
            Yuv420ToBgr24(picture.yuv.data(), w, h, w * 3, out);
        } else {
            Yuv420ToYuy2(picture.Luma(), picture.U(), picture.V(), out, w, h);
        }
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
        i = (i + 1) % ring.pictures.size();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
}

void Swscale(benchmark::State& state, bool bgr, int w, int h, bool cold) {
    Ring ring(w, h, cold);
    const AVPixelFormat format = bgr ? AV_PIX_FMT_BGR24 : AV_PIX_FMT_YUYV422;
    // Point sampling selects libswscale's fastest unscaled converters for both formats.
    SwsContext* context = sws_getContext(w, h, AV_PIX_FMT_YUV420P, w, h, format, SWS_POINT, nullptr,
                                         nullptr, nullptr);
    const int source_strides[3] = {w, w / 2, w / 2};
    const int destination_strides[1] = {bgr ? w * 3 : w * 2};
    std::size_t i = 0;
    for (auto _ : state) {
        const Picture& picture = ring.pictures[i];
        const uint8_t* source[3] = {picture.Luma(), picture.U(), picture.V()};
        uint8_t* destination[1] = {ring.outs[i].data()};
        sws_scale(context, source, source_strides, 0, h, destination, destination_strides);
        benchmark::DoNotOptimize(destination[0]);
        benchmark::ClobberMemory();
        i = (i + 1) % ring.pictures.size();
    }
    state.SetItemsProcessed(state.iterations() * w * h);
    sws_freeContext(context);
}

const bool kRegistered = [] {
    for (const bool cold : {false, true}) {
        for (const bool bgr : {true, false}) {
            for (const auto& [w, h] : {std::pair{352, 288}, std::pair{720, 576}}) {
                const std::string size = std::to_string(w) + "x" + std::to_string(h);
                const std::string subject = bgr ? "Yuv420ToBgr24" : "Yuv420ToYuy2";
                const std::string where = cold ? "/memory" : "";
                const std::string ours = subject + where + "/ours/" + size;
                const std::string peer = subject + where + "/swscale/" + size;
                Repeated(benchmark::RegisterBenchmark(ours.c_str(), Ours, bgr, w, h, cold))
                    ->Unit(benchmark::kMicrosecond);
                Repeated(benchmark::RegisterBenchmark(peer.c_str(), Swscale, bgr, w, h, cold))
                    ->Unit(benchmark::kMicrosecond);
                AddBenchPair(subject + " " + size + (cold ? " from memory" : "") + " vs swscale",
                             ours, peer);
            }
        }
    }
    return true;
}();

}  // namespace
