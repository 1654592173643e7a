#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

#include "BenchPairs.h"

namespace {

struct BenchPair {
    std::string what, ours, peer;
    double ours_us = 0;
    double peer_us = 0;
};

std::vector<BenchPair>& Pairs() {
    static std::vector<BenchPair> pairs;
    return pairs;
}

// Keeps the fastest repetition's real time per benchmark.
class PairReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            std::string name = run.run_name.str();
            for (const char* option : {"/min_time:", "/repeats:"}) {
                name = name.substr(0, name.find(option));
            }
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                times_[name] = run.GetAdjustedRealTime() * Factor(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\n%-44s %12s %12s %8s\n", "pair", "ours us", "peer us", "peer/ours");
        for (BenchPair pair : Pairs()) {
            if (pair.ours_us == 0) {
                const auto ours = times_.find(pair.ours);
                const auto peer = times_.find(pair.peer);
                if (ours == times_.end() || peer == times_.end()) {
                    continue;
                }
                pair.ours_us = ours->second;
                pair.peer_us = peer->second;
            }
            std::printf("%-44s %12.1f %12.1f %8.3f\n", pair.what.c_str(), pair.ours_us,
                        pair.peer_us, pair.peer_us / pair.ours_us);
        }
    }

private:
    static double Factor(benchmark::TimeUnit unit) {
        switch (unit) {
            case benchmark::kNanosecond:
                return 1e-3;
            case benchmark::kMillisecond:
                return 1e3;
            case benchmark::kSecond:
                return 1e6;
            default:
                return 1;
        }
    }

    std::map<std::string, double> times_;
};

}  // namespace

void AddBenchPair(const std::string& what, const std::string& ours, const std::string& peer) {
    Pairs().push_back({what, ours, peer});
}

void AddPairTimes(const std::string& what, double ours_us, double peer_us) {
    // The library runs a benchmark a few times to size it; its last, longest run counts.
    for (BenchPair& pair : Pairs()) {
        if (pair.what == what) {
            pair.ours_us = ours_us;
            pair.peer_us = peer_us;
            return;
        }
    }
    Pairs().push_back({what, "", "", ours_us, peer_us});
}

benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* benchmark) {
    return benchmark->Repetitions(7)->DisplayAggregatesOnly(true)->ComputeStatistics(
        "min", [](const std::vector<double>& values) {
            return *std::min_element(values.begin(), values.end());
        });
}

int main(int argc, char** argv) {
    // Repetitions of all benchmarks run interleaved, so that a change of load on the machine
    // falls on ours and the peer alike. A flag on the command line still overrides this.
    std::vector<char*> arguments(argv, argv + argc);
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    arguments.insert(arguments.begin() + 1, interleave);
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    PairReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
