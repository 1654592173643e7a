#pragma once

#include <benchmark/benchmark.h>

#include <string>

// Benchmarks come in pairs: ours and a peer measured in the same run. After the run the main
// program prints, for each pair, the peer's time over ours (above 1: ours is faster).
void AddBenchPair(const std::string& what, const std::string& ours, const std::string& peer);
// A pair that one benchmark measured itself, alternating ours and the peer.
void AddPairTimes(const std::string& what, double ours_us, double peer_us);

// Repeats a benchmark and keeps, besides the usual aggregates, the fastest repetition: the
// pairs compare those, which other work on the machine disturbs least.
benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* benchmark);
