// Memory of a connection's frame queue under a flood of tiny video frames that a consumer
// does not keep up with, so every push evicts a frame and breaks its channel. A recorder
// that numbers each frame's channel anew is measured against one that keeps to 16 channels;
// both should leave the process the same size.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <utility>
#include <vector>

#include "platform/netctrl/FrameQueue.h"

namespace {

constexpr int kFloodFrames = 2'000'000;

long ResidentKib() {
    std::ifstream statm("/proc/self/statm");
    long size_pages = 0;
    long resident_pages = 0;
    statm >> size_pages >> resident_pages;
    return resident_pages * (::sysconf(_SC_PAGESIZE) / 1024);
}

struct Growth {
    long before_kib;
    long after_kib;
    std::size_t broken_channels;
};

// A queue with a connection's limits, filled by the flood and kept until measured.
Growth Flood(bool new_channels) {
    ::malloc_trim(0);
    const long before_kib = ResidentKib();
    FrameQueue queue;
    const std::atomic<bool> cancel{false};
    std::vector<uint8_t> payload;
    for (int i = 0; i < kFloodFrames; ++i) {
        _NET_FRAME_HEAD_ head{};
        head.cType = 'V';
        head.nLength = 8;
        head.nChannel = new_channels ? i : i % 16;
        head.nFrameNo = 1;
        payload.assign(8, 0);
        payload = queue.Push(head, std::move(payload), 0, cancel);
    }
    return {before_kib, ResidentKib(), queue.BrokenChannels()};
}

void BM_FrameFloodResidentGrowth(benchmark::State& state) {
    Growth steady{};
    Growth flood{};
    for (auto _ : state) {
        steady = Flood(false);
        flood = Flood(true);
    }
    const long steady_kib = steady.after_kib - steady.before_kib;
    const long flood_kib = flood.after_kib - flood.before_kib;
    state.counters["steady_growth_kib"] = static_cast<double>(steady_kib);
    state.counters["flood_growth_kib"] = static_cast<double>(flood_kib);
    state.counters["flood_broken_channels"] = static_cast<double>(flood.broken_channels);
    // A page of slack on either side keeps the ratio finite when nothing grew.
    const long page_kib = ::sysconf(_SC_PAGESIZE) / 1024;
    state.counters["flood_to_steady_growth"] =
        static_cast<double>(std::max(flood_kib, page_kib)) / std::max(steady_kib, page_kib);
    std::printf("resident before/after: steady %ld/%ld KiB, new channels %ld/%ld KiB\n",
                steady.before_kib, steady.after_kib, flood.before_kib, flood.after_kib);
}
BENCHMARK(BM_FrameFloodResidentGrowth)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
