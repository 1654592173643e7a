// The deinterlacer in pixels per second next to a plain copy of the same frame.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "bench/support/BenchPairs.h"
#include "common/picture/Deinterlacer.h"
#include "common/picture/tests/TestStreams.h"

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;

// Packed 4:2:2 frames built from the synthetic pictures, so that a part of each frame moves.
std::vector<uint8_t> Frame(int index) {
    const std::vector<uint8_t> yuv = test_streams::SyntheticPicture(kWidth, kHeight, index);
    std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight * 2);
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            uint8_t* pixel = &frame[(static_cast<size_t>(y) * kWidth + x) * 2];
            pixel[0] = yuv[static_cast<size_t>(y) * kWidth + x];
            pixel[1] = 128;
        }
    }
    return frame;
}

void Deinterlace(benchmark::State& state) {
    const std::vector<uint8_t> frames[2] = {Frame(0), Frame(8)};
    std::vector<uint8_t> work(frames[0].size());
    CDeinterlacer deinterlacer;
    deinterlacer.SetFrameSize(kWidth, kHeight, kWidth);
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), frames[n++ % 2].data(), work.size());
        state.ResumeTiming();
        deinterlacer.Process(work.data(), kWidth, kHeight, 1, kWidth);
        benchmark::DoNotOptimize(work.data());
    }
    state.counters["pixels_per_second"] = benchmark::Counter(
        static_cast<double>(kWidth) * kHeight, benchmark::Counter::kIsIterationInvariantRate);
}

void PlainCopy(benchmark::State& state) {
    const std::vector<uint8_t> frame = Frame(0);
    std::vector<uint8_t> work(frame.size());
    for (auto _ : state) {
        std::memcpy(work.data(), frame.data(), work.size());
        benchmark::DoNotOptimize(work.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels_per_second"] = benchmark::Counter(
        static_cast<double>(kWidth) * kHeight, benchmark::Counter::kIsIterationInvariantRate);
}

const bool kRegistered = [] {
    Repeated(benchmark::RegisterBenchmark("CDeinterlacer/ours/720x576", Deinterlace))
        ->Unit(benchmark::kMicrosecond);
    Repeated(benchmark::RegisterBenchmark("CDeinterlacer/memcpy/720x576", PlainCopy))
        ->Unit(benchmark::kMicrosecond);
    AddBenchPair("CDeinterlacer 720x576 vs plain copy", "CDeinterlacer/ours/720x576",
                 "CDeinterlacer/memcpy/720x576");
    return true;
}();

}  // namespace
