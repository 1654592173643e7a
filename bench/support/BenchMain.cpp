#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "bench/support/BenchPairs.h"

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

// Per cost, in the order first reported: its repetitions' ratios.
std::vector<std::pair<std::string, std::vector<double>>>& Costs() {
    static std::vector<std::pair<std::string, std::vector<double>>> costs;
    return costs;
}

void PrintCosts() {
    if (Costs().empty()) return;
    std::printf("\n%-60s %9s %15s\n", "cost (ours/peer)", "median", "range (n)");
    for (auto [what, ratios] : Costs()) {
        std::sort(ratios.begin(), ratios.end());
        std::printf("%-60s %9.3f %7.3f-%-5.3f (%zu)\n", what.c_str(), ratios[ratios.size() / 2],
                    ratios.front(), ratios.back(), ratios.size());
    }
}

// Keeps the fastest repetition's real time per benchmark, and every repetition's, so that each
// pair also gets the spread of its ratio over the repetitions. Shows only the aggregates of
// repeated benchmarks.
class PairReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        std::vector<Run> shown;
        for (const Run& run : runs) {
            const std::string name = BaseName(run);
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "min") {
                times_[name] = run.GetAdjustedRealTime() * Factor(run.time_unit);
            }
            if (run.run_type == Run::RT_Iteration && run.repetitions > 1) {
                repetitions_[name].push_back(run.GetAdjustedRealTime() * Factor(run.time_unit));
                continue;
            }
            shown.push_back(run);
        }
        if (!shown.empty()) ConsoleReporter::ReportRuns(shown);
    }

    void PrintRatios() const {
        if (Pairs().empty()) return;
        std::printf("\n%-48s %10s %10s %9s %9s %15s\n", "pair", "ours us", "peer us", "peer/ours",
                    "median", "spread (n)");
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
            std::printf("%-48s %10.1f %10.1f %9.3f", pair.what.c_str(), pair.ours_us, pair.peer_us,
                        pair.peer_us / pair.ours_us);
            const std::vector<double> ratios = RepetitionRatios(pair);
            if (ratios.empty()) {
                std::printf("\n");
                continue;
            }
            std::printf(" %9.3f %7.3f-%-5.3f (%zu)\n", ratios[ratios.size() / 2], ratios.front(),
                        ratios.back(), ratios.size());
        }
    }

private:
    static std::string BaseName(const Run& run) {
        std::string name = run.run_name.str();
        for (const char* option : {"/min_time:", "/repeats:"}) {
            name = name.substr(0, name.find(option));
        }
        return name;
    }

    // Repetition i of the peer over repetition i of ours, sorted; the repetitions ran
    // interleaved, so each ratio compares runs under much the same load.
    std::vector<double> RepetitionRatios(const BenchPair& pair) const {
        std::vector<double> ratios;
        const auto ours = repetitions_.find(pair.ours);
        const auto peer = repetitions_.find(pair.peer);
        if (ours == repetitions_.end() || peer == repetitions_.end()) return ratios;
        const std::size_t n = std::min(ours->second.size(), peer->second.size());
        for (std::size_t i = 0; i < n; ++i)
            ratios.push_back(peer->second[i] / ours->second[i]);
        std::sort(ratios.begin(), ratios.end());
        return ratios;
    }

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
    std::map<std::string, std::vector<double>> repetitions_;
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

void AddCostRatio(const std::string& what, double ours_over_peer) {
    for (auto& [name, ratios] : Costs()) {
        if (name == what) {
            ratios.push_back(ours_over_peer);
            return;
        }
    }
    Costs().push_back({what, {ours_over_peer}});
}

benchmark::internal::Benchmark* Repeated(benchmark::internal::Benchmark* benchmark) {
    return benchmark->Repetitions(9)->ComputeStatistics(
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
    PrintCosts();
    benchmark::Shutdown();
    return 0;
}
