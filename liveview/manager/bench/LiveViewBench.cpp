// Cost of the whole live-view engine (receive, check, decode, convert, draw) per frame, against
// decoding the same frames alone, for N recorders of 16 CIF channels each in the all-devices
// view. The recorders run in a separate emulator process, so this process's CPU time is the
// engine's own. The peer decodes on as many threads at the same pace. Both run three times; the
// engine's ratio is taken against the peer's median, and the medians are what to read. Also
// reports whether the engine kept up (decoded at least 97 percent of what was sent) and the
// memory each connected recorder adds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "DvrManager.h"
#include "GdiRenderer.h"
#include "H264Decoder.h"
#include "LoopCache.h"
#include "ManualClockWaveOut.h"
#include "VideoGridLayout.h"
#include "VideoSurface.h"

extern char** environ;

namespace {

constexpr int kChannels = 16;
constexpr int kCifWidth = 352;
constexpr int kCifHeight = 288;
constexpr int kLoopFrames = 25;
// The live view asks for 16 at most; the emulator is told to send 25 whatever it is asked.
constexpr int kStreamFps = 25;
constexpr auto kWarmUp = std::chrono::seconds(2);
constexpr auto kMeasured = std::chrono::seconds(8);  // long enough to even out the noise

double ProcessCpuSeconds() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

constexpr int kRepetitions = 3;

// Freed memory is handed back first, so a baseline does not count what an earlier run left.
double ResidentMiB() {
    ::malloc_trim(0);
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

// The emulator program with `recorders` recorders of 16 CIF channels on free ports.
class EmulatorProcess {
public:
    explicit EmulatorProcess(int recorders) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string count = std::to_string(recorders);
        const std::string sandbox = (std::filesystem::temp_directory_path() /
                                     ("liveview_bench_" + std::to_string(::getpid())))
                                        .string();
        std::vector<std::string> args = {EMULATOR_PROGRAM,
                                         "--recorders",
                                         count,
                                         "--channels",
                                         "16",
                                         "--size",
                                         "2",
                                         "--base-port",
                                         "0",
                                         "--sandbox",
                                         sandbox,
                                         "--live-fps",
                                         std::to_string(kStreamFps)};
        std::vector<char*> argv;
        for (std::string& arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        if (posix_spawn(&pid_, EMULATOR_PROGRAM, &actions, nullptr, argv.data(), environ) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(out[1]);
        ReadPorts(out[0], recorders);
        ::close(out[0]);
    }
    ~EmulatorProcess() {
        if (pid_ <= 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }
    const std::vector<int>& Ports() const { return ports_; }

private:
    void ReadPorts(int fd, int recorders) {
        std::unique_ptr<FILE, decltype(&std::fclose)> in(::fdopen(::dup(fd), "r"), std::fclose);
        if (!in) return;
        const std::regex line(R"(recorder \d+: 127\.0\.0\.1:(\d+))");
        char buffer[512];
        while (static_cast<int>(ports_.size()) < recorders &&
               std::fgets(buffer, sizeof(buffer), in.get()) != nullptr) {
            std::cmatch match;
            if (std::regex_search(buffer, match, line)) ports_.push_back(std::stoi(match[1]));
        }
    }

    pid_t pid_ = -1;
    std::vector<int> ports_;
};

using Loops = std::vector<std::shared_ptr<const FrameLoop>>;

Loops ChannelLoops() {
    Loops loops;
    for (int channel = 0; channel < kChannels; ++channel) {
        loops.push_back(LoopCache::Shared().Get(
            {VideoCodec::kH264, kCifWidth, kCifHeight, channel, kLoopFrames, 25}));
    }
    return loops;
}

void DecodeInTurn(const Loops& loops, int index, std::vector<CH264Decoder>& decoders) {
    for (std::size_t stream = 0; stream < decoders.size(); ++stream) {
        const EncodedFrame& frame = loops[stream % kChannels]->frames[index];
        CH264Decoder& decoder = decoders[stream];
        int got = 0;
        decoder.Decode(decoder.Picture(), &got, frame.payload.data(),
                       static_cast<int>(frame.payload.size()));
    }
}

// Per recorder count: the peer decodes the same frames as the engine in the same way: one
// thread per recorder, each decoding its 16 channels frame by frame in turn as they arrive,
// kStreamFps times a second. So both pay the same for keeping that many decoders warm and for
// waking to each burst. One figure per repetition.
std::map<int, std::vector<double>> g_decodeCpuPerFrameUs;

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
// The same frames decoded back to back on one thread, for reference.
std::map<int, double> g_backToBackCpuPerFrameUs;

void BM_DecodeAlone(benchmark::State& state) {
    const int recorders = static_cast<int>(state.range(0));
    const Loops loops = ChannelLoops();
    std::atomic<bool> measuring{false};
    std::atomic<bool> stop{false};
    std::atomic<int64_t> frames{0};
    auto decode_recorder = [&] {
        std::vector<CH264Decoder> decoders(kChannels);
        for (CH264Decoder& decoder : decoders)
            decoder.Open(kCifWidth, kCifHeight);
        const auto interval = std::chrono::microseconds(1000000 / kStreamFps);
        auto next = std::chrono::steady_clock::now();
        for (int index = 0; !stop.load(); index = (index + 1) % kLoopFrames) {
            DecodeInTurn(loops, index, decoders);
            if (measuring.load()) frames.fetch_add(kChannels);
            next += interval;
            std::this_thread::sleep_until(next);
        }
    };
    const double resident_before = ResidentMiB();
    std::vector<std::thread> threads;
    for (int a = 0; a < recorders; ++a)
        threads.emplace_back(decode_recorder);
    std::this_thread::sleep_for(kWarmUp);
    // What 16 decoders alone hold, for comparison with the engine's memory per recorder.
    const double decoders_mib = (ResidentMiB() - resident_before) / recorders;
    double cpu_seconds = 0;
    for (auto _ : state) {
        const double cpu_start = ProcessCpuSeconds();
        measuring = true;
        std::this_thread::sleep_for(kMeasured);
        measuring = false;
        cpu_seconds = ProcessCpuSeconds() - cpu_start;
    }
    stop = true;
    for (std::thread& thread : threads)
        thread.join();
    const double per_frame_us =
        cpu_seconds * 1e6 / static_cast<double>(std::max<int64_t>(frames.load(), 1));
    g_decodeCpuPerFrameUs[recorders].push_back(per_frame_us);
    state.counters["channels"] = recorders * kChannels;
    state.counters["cpu_us_per_frame"] = per_frame_us;
    state.counters["MiB_per_recorder"] = decoders_mib;
}

void BM_DecodeBackToBack(benchmark::State& state) {
    const int recorders = static_cast<int>(state.range(0));
    const Loops loops = ChannelLoops();
    std::vector<CH264Decoder> decoders(static_cast<std::size_t>(recorders) * kChannels);
    for (CH264Decoder& decoder : decoders)
        decoder.Open(kCifWidth, kCifHeight);
    int64_t frames = 0;
    const double cpu_start = ProcessCpuSeconds();
    for (auto _ : state) {
        for (int index = 0; index < kLoopFrames; ++index) {
            DecodeInTurn(loops, index, decoders);
            frames += static_cast<int64_t>(decoders.size());
        }
    }
    const double per_frame_us =
        (ProcessCpuSeconds() - cpu_start) * 1e6 / static_cast<double>(frames);
    g_backToBackCpuPerFrameUs[recorders] = per_frame_us;
    state.counters["channels"] = recorders * kChannels;
    state.counters["cpu_us_per_frame"] = per_frame_us;
    state.SetItemsProcessed(frames);
}

void BM_Engine(benchmark::State& state) {
    const int recorders = static_cast<int>(state.range(0));
    EmulatorProcess emulator(recorders);
    if (static_cast<int>(emulator.Ports().size()) != recorders) {
        state.SkipWithError("the recorder emulator did not start");
        return;
    }
    const std::string store = (std::filesystem::temp_directory_path() /
                               ("liveview_bench_uss_" + std::to_string(::getpid())))
                                  .string();
    ManualClockWaveOut audio;
    CVideoGridLayout grid;
    grid.Init(256, 256);
    grid.ComputeCells(0, 0, 1408, 1152);
    auto surface = std::make_shared<CVideoSurface>();
    surface->Resize(1408, 1152);
    CGdiRenderer renderer;
    renderer.SetDC(surface);

    const double resident_before = ResidentMiB();
    auto manager = std::make_unique<CDvrManager>(audio, store);
    manager->SetDisplayTargets(&grid, &renderer, {0, 0, 1408, 1152});
    manager->SetCurrentDvr(-1);
    manager->SetAllDvrMode(1);
    for (int a = 0; a < recorders; ++a) {
        manager->AddDvr("127.0.0.1:" + std::to_string(emulator.Ports()[a]), "", "admin", "admin",
                        "");
        manager->StartDvrNetwork(a);
        for (int channel = 0; channel < kChannels; ++channel) {
            manager->SetWindowChannel(a * kChannels + channel, MakeChannelKey(a, channel));
        }
        if (manager->ConnectDvr(a) < 0) {
            state.SkipWithError("a log-in failed");
            return;
        }
    }
    manager->RefreshLiveViews();
    std::this_thread::sleep_for(kWarmUp);

    auto decoded = [&] {
        uint64_t total = 0;
        for (int a = 0; a < recorders; ++a)
            total += manager->GetFrameCounts(a).decoded;
        return total;
    };
    uint64_t frames = 0;
    double cpu_seconds = 0;
    for (auto _ : state) {
        const uint64_t decoded_start = decoded();
        const double cpu_start = ProcessCpuSeconds();
        std::this_thread::sleep_for(kMeasured);
        cpu_seconds = ProcessCpuSeconds() - cpu_start;
        frames = decoded() - decoded_start;
    }
    const double expected = static_cast<double>(recorders) * kChannels * kStreamFps *
                            std::chrono::duration<double>(kMeasured).count();
    const double cpu_per_frame_us =
        cpu_seconds * 1e6 / static_cast<double>(std::max<uint64_t>(frames, 1));
    state.counters["channels"] = recorders * kChannels;
    state.counters["decoded_share"] = static_cast<double>(frames) / expected;
    state.counters["sustained"] = static_cast<double>(frames) >= 0.97 * expected ? 1 : 0;
    state.counters["cpu_us_per_frame"] = cpu_per_frame_us;
    if (g_decodeCpuPerFrameUs.count(recorders) != 0) {
        state.counters["vs_decode_alone"] =
            cpu_per_frame_us / Median(g_decodeCpuPerFrameUs[recorders]);
    }
    if (g_backToBackCpuPerFrameUs.count(recorders) != 0) {
        state.counters["vs_back_to_back"] = cpu_per_frame_us / g_backToBackCpuPerFrameUs[recorders];
    }
    state.counters["MiB_per_recorder"] = (ResidentMiB() - resident_before) / recorders;
    // 16 recorders fill the grid's 256 cells, the most the all-devices view shows; beyond
    // them the machine's headroom is what the engine's share of its cores leaves.
    const double cores_busy = cpu_seconds / std::chrono::duration<double>(kMeasured).count();
    state.counters["cores_busy"] = cores_busy;
    state.counters["channels_at_all_cores"] =
        recorders * kChannels * std::thread::hardware_concurrency() / std::max(cores_busy, 1e-6);
    manager->Shutdown();
    manager.reset();
    std::filesystem::remove(store);
}

// 1 to 16 recorders of 16 channels: 16 to 256 cells.
void RecorderCounts(benchmark::internal::Benchmark* b) {
    for (int recorders : {1, 2, 4, 8, 16})
        b->Arg(recorders);
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_DecodeBackToBack)->Apply(RecorderCounts)->MinTime(2.0);
BENCHMARK(BM_DecodeAlone)
    ->Apply(RecorderCounts)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(BM_Engine)
    ->Apply(RecorderCounts)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
