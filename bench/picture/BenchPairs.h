#pragma once

#include <string>

// Benchmarks come in pairs: ours and a peer measured in the same run. After the run the main
// program prints, for each pair, the peer's time over ours (above 1: ours is faster).
void AddBenchPair(const std::string& what, const std::string& ours, const std::string& peer);
