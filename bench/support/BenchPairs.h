#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <string>

// Benchmarks come in pairs: ours and a peer measured in the same run. After the run the main
// program prints, for each pair, the peer's time over ours (above 1: ours is faster): of the
// fastest repetitions, and the median and range of the ratios of the repetitions.
void AddBenchPair(const std::string& what, const std::string& ours, const std::string& peer);
// A pair that one benchmark measured itself, alternating ours and the peer.
void AddPairTimes(const std::string& what, double ours_us, double peer_us);

// Repeats a benchmark nine times and keeps, besides the usual aggregates, the fastest
// repetition, which other work on the machine disturbs least.
benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* benchmark);

// Runs ours and the peer once each per iteration, in alternating order and each after an
// untimed reset, so that both see the same load on the machine; the pair compares the fastest
// run of each.
template <typename Ours, typename Peer, typename Reset>
void RunPaired(benchmark::State& state, const std::string& what, Ours&& ours, Peer&& peer,
               Reset&& reset) {
    using Clock = std::chrono::steady_clock;
    double best_us[2] = {std::numeric_limits<double>::max(), std::numeric_limits<double>::max()};
    bool ours_first = true;
    for (auto _ : state) {
        for (const int side : {ours_first ? 0 : 1, ours_first ? 1 : 0}) {
            state.PauseTiming();
            reset();
            state.ResumeTiming();
            const Clock::time_point start = Clock::now();
            side == 0 ? ours() : peer();
            const double us =
                std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            best_us[side] = std::min(best_us[side], us);
        }
        ours_first = !ours_first;
    }
    state.counters["ours_ms"] = best_us[0] / 1000;
    state.counters["peer_ms"] = best_us[1] / 1000;
    AddPairTimes(what, best_us[0], best_us[1]);
}
