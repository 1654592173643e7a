// Frame threads stretch every decoded picture into the video surface. Measured against
// libswscale's nearest-neighbour scaler converting the same pictures into 32-bit rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

extern "C" {
#include <libswscale/swscale.h>
}

#include "GdiRenderer.h"
#include "VideoSurface.h"
#include "Yuy2Picture.h"

namespace {

struct Size {
    int src_w, src_h, dest_w, dest_h;
};

// Shrinking into a 16-cell view, and enlarging into a single-cell view.
constexpr Size kCases[] = {{352, 288, 176, 144}, {720, 576, 1280, 960}};

std::vector<unsigned char> Noise(std::size_t bytes) {
    std::vector<unsigned char> data(bytes);
    unsigned state = 12345;
    for (unsigned char& b : data) {
        state = state * 1103515245u + 12345u;
        b = static_cast<unsigned char>(state >> 16);
    }
    return data;
}

void OursBgr24(benchmark::State& state) {
    const Size s = kCases[state.range(0)];
    auto surface = std::make_shared<CVideoSurface>();
    surface->Resize(s.dest_w, s.dest_h);
    CGdiRenderer renderer;
    renderer.SetDC(surface);
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 3);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            renderer.Draw(0, 0, s.dest_w, s.dest_h, s.src_w, s.src_h, picture.data()));
        surface->TakeDirty();
    }
}

void OursYuy2(benchmark::State& state) {
    const Size s = kCases[state.range(0)];
    CVideoSurface surface;
    surface.Resize(s.dest_w, s.dest_h);
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            DrawYuy2(surface, {0, 0, s.dest_w, s.dest_h}, s.src_w, s.src_h, picture.data()));
        surface.TakeDirty();
    }
}

void PeerSwscale(benchmark::State& state, AVPixelFormat source_format, int bytes_per_pixel) {
    const Size s = kCases[state.range(0)];
    SwsContext* context = sws_getContext(s.src_w, s.src_h, source_format, s.dest_w, s.dest_h,
                                         AV_PIX_FMT_BGRA, SWS_POINT, nullptr, nullptr, nullptr);
    const auto picture = Noise(static_cast<std::size_t>(s.src_w) * s.src_h * bytes_per_pixel);
    std::vector<unsigned char> out(static_cast<std::size_t>(s.dest_w) * s.dest_h * 4);
    const uint8_t* src[] = {picture.data()};
    const int src_stride[] = {s.src_w * bytes_per_pixel};
    uint8_t* dst[] = {out.data()};
    const int dst_stride[] = {s.dest_w * 4};
    for (auto _ : state) {
        benchmark::DoNotOptimize(sws_scale(context, src, src_stride, 0, s.src_h, dst, dst_stride));
    }
    sws_freeContext(context);
}

void PeerBgr24(benchmark::State& state) { PeerSwscale(state, AV_PIX_FMT_BGR24, 3); }
void PeerYuy2(benchmark::State& state) { PeerSwscale(state, AV_PIX_FMT_YUYV422, 2); }

BENCHMARK(OursBgr24)->DenseRange(0, 1);
BENCHMARK(PeerBgr24)->DenseRange(0, 1);
BENCHMARK(OursYuy2)->DenseRange(0, 1);
BENCHMARK(PeerYuy2)->DenseRange(0, 1);

class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            times_ns_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void PrintRatios() const {
        std::printf("\n%-32s %10s %10s %10s\n", "stretch", "ours us", "peer us", "peer/ours");
        for (const char* kind : {"Bgr24", "Yuy2"}) {
            for (int i = 0; i < 2; ++i) {
                const std::string arg = "/" + std::to_string(i);
                const auto ours = times_ns_.find(std::string("Ours") + kind + arg);
                const auto peer = times_ns_.find(std::string("Peer") + kind + arg);
                if (ours == times_ns_.end() || peer == times_ns_.end()) continue;
                const Size s = kCases[i];
                const std::string what = std::string(kind) + " " + std::to_string(s.src_w) + "x" +
                                         std::to_string(s.src_h) + " to " +
                                         std::to_string(s.dest_w) + "x" + std::to_string(s.dest_h);
                std::printf("%-32s %10.1f %10.1f %10.2f\n", what.c_str(), ours->second / 1e3,
                            peer->second / 1e3, peer->second / ours->second);
            }
        }
    }

private:
    std::map<std::string, double> times_ns_;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
