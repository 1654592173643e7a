#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <vector>

#include "BenchPairs.h"

namespace {

struct BenchPair {
    std::string what, ours, peer;
};

std::vector<BenchPair>& Pairs() {
    static std::vector<BenchPair> pairs;
    return pairs;
}

// Keeps the median real time per benchmark (or the single run's without repetitions).
class PairReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            std::string name = run.run_name.str();
            name = name.substr(0, name.find("/repeats:"));
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && times_.count(name) == 0)) {
                times_[name] = run.GetAdjustedRealTime() * Factor(run.time_unit);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const {
        std::printf("\n%-44s %12s %12s %8s\n", "pair", "ours us", "peer us", "peer/ours");
        for (const BenchPair& pair : Pairs()) {
            const auto ours = times_.find(pair.ours);
            const auto peer = times_.find(pair.peer);
            if (ours == times_.end() || peer == times_.end()) {
                continue;
            }
            std::printf("%-44s %12.1f %12.1f %8.3f\n", pair.what.c_str(), ours->second,
                        peer->second, peer->second / ours->second);
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

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    PairReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
