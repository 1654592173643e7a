// Cost of the whole live-view engine (receive, check, decode, draw) per frame, against decoding
// the same frames alone, for 16 recorders of 16 channels each (256 cells) in the all-devices
// view. The recorders run in a separate emulator process, so this process's CPU time is the
// engine's own. The peers decode the same frames: paced (one thread per recorder, each
// decoding its 16 channels in turn as they arrive, 25 times a second) and back to back on one
// thread. Each round runs the engine and the peers in alternating order, so a change of load
// on the machine falls on both; the ratios of the rounds are printed with their median and
// range, and the machine's load average over the rounds. Also reports the share of the frames sent
// that the engine decoded, how many cores it kept busy, the memory each connected recorder adds,
// and where the engine's CPU goes: its receiving threads, its frame threads (decode and draw),
// and how often a thread went to sleep per burst of 16 frames, against the paced peer's one.
// A third peer decodes as the paced one does while the recorders stream to clients that drop
// what they receive, its decoding threads' CPU alone counted: decoding while the machine also
// carries the recorders' sending and the links' receiving, which the engine cannot escape.
// BM_EngineOverTls sets the engine on TLS links against the same engine on plain ones, in
// alternating rounds.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <pthread.h>
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
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/support/BenchMeasures.h"
#include "bench/support/BenchPairs.h"
#include "common/picture/H264Decoder.h"
#include "common/ui/core/GdiRenderer.h"
#include "common/ui/core/VideoGridLayout.h"
#include "liveview/manager/DvrManager.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/testing/PlainLinkForMeasurement.h"
#include "platform/surface/VideoSurface.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "tools/recorder-emulator/LoopCache.h"

extern char** environ;

namespace {

constexpr int kChannels = 16;
constexpr int kRecorders = 16;
constexpr int kLoopFrames = 25;
// The live view asks for 16 at most; the emulator is told to send 25 whatever it is asked.
constexpr int kStreamFps = 25;
constexpr auto kWarmUp = std::chrono::seconds(2);
constexpr auto kMeasured = std::chrono::seconds(8);  // long enough to even out the noise
constexpr auto kBackToBack = std::chrono::seconds(2);
constexpr int kRounds = 9;  // the median of nine stays put where one round in three is off
// The engine against its peers: on a shared machine the load shifts between the engine's ten
// seconds and the peer's, and single rounds ranged from 0.95 to 1.47 times; nine rounds left
// the median wandering by a tenth from run to run.
constexpr int kEngineRounds = 15;

// A picture size of the recorders' streams: the emulator's size code and the pixels.
struct Streams {
    const char* name;
    int size_code;
    int width;
    int height;
};

constexpr Streams kCif{"CIF", 2, 352, 288};
constexpr Streams kD1{"D1", 0, 720, 576};

// Times this process's threads went to sleep of their own accord: each costs a wake-up.
double VoluntarySleeps() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_nvcsw);
}

// CPU seconds of this process's threads whose names start with prefix, from /proc (clock
// ticks, fine enough over seconds of measurement).
double ThreadCpuSeconds(const std::string& prefix) {
    double seconds = 0;
    for (const auto& task : std::filesystem::directory_iterator("/proc/self/task")) {
        std::ifstream comm(task.path() / "comm");
        std::string name;
        if (!std::getline(comm, name) || name.rfind(prefix, 0) != 0) continue;
        std::ifstream stat(task.path() / "stat");
        std::string line;
        if (!std::getline(stat, line)) continue;
        // After the name's closing parenthesis: state is field 3, utime 14 and stime 15.
        std::istringstream fields(line.substr(line.rfind(')') + 2));
        std::vector<std::string> values{std::istream_iterator<std::string>(fields), {}};
        if (values.size() < 13) continue;
        seconds += (std::stod(values[11]) + std::stod(values[12])) /
                   static_cast<double>(::sysconf(_SC_CLK_TCK));
    }
    return seconds;
}

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

// The emulator program with `recorders` recorders of 16 channels on free ports; plain ones
// speak without TLS, for measuring its cost.
class EmulatorProcess {
public:
    EmulatorProcess(int recorders, int size_code, bool plain = false) {
        int out[2];
        if (::pipe(out) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        posix_spawn_file_actions_addclose(&actions, out[0]);
        const std::string sandbox = (std::filesystem::temp_directory_path() /
                                     ("liveview_bench_" + std::to_string(::getpid())))
                                        .string();
        std::vector<std::string> args = {EMULATOR_PROGRAM,
                                         "--recorders",
                                         std::to_string(recorders),
                                         "--channels",
                                         std::to_string(kChannels),
                                         "--size",
                                         std::to_string(size_code),
                                         "--base-port",
                                         "0",
                                         "--sandbox",
                                         sandbox,
                                         "--live-fps",
                                         std::to_string(kStreamFps),
                                         "--link",
                                         plain ? "plain" : "tls"};
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

Loops ChannelLoops(const Streams& streams) {
    Loops loops;
    for (int channel = 0; channel < kChannels; ++channel) {
        loops.push_back(LoopCache::Shared().Get(
            {VideoCodec::kH264, streams.width, streams.height, channel, kLoopFrames, 25}));
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

struct PacedRun {
    double cpu_us_per_frame = 0;
    double sleeps_per_burst = 0;
};

// The recorders streaming all their channels to clients that take every frame and drop it.
class DiscardingClients {
public:
    explicit DiscardingClients(const EmulatorProcess& emulator) {
        for (int port : emulator.Ports()) {
            auto client = std::make_unique<NetCtrl>();
            client->InitNetWork();
            if (client->ConnectToServer("127.0.0.1", port, "admin", "admin") < 0 ||
                client->NetLocalViewPlay(0xFFFF, 0) < 0) {
                return;
            }
            clients_.push_back(std::move(client));
        }
        for (auto& client : clients_)
            threads_.emplace_back([this, connection = client.get()] { Drop(*connection); });
    }
    ~DiscardingClients() {
        stop_ = true;
        for (auto& client : clients_)
            client->WakePicWaiters();
        for (std::thread& thread : threads_)
            thread.join();
        for (auto& client : clients_)
            client->StopNetWork();
    }
    bool Streaming(int recorders) const { return static_cast<int>(threads_.size()) == recorders; }

private:
    void Drop(NetCtrl& connection) {
        std::vector<FrameQueue::Taken> frames;
        while (!stop_) {
            const uint64_t wakes = connection.PicWakes();
            connection.TakePicBufs(frames);
            if (frames.empty()) {
                if (!stop_) connection.WaitForPicBufOrWake(wakes);
                continue;
            }
            connection.RecyclePicBufs(frames);
        }
    }

    std::atomic<bool> stop_{false};
    std::vector<std::unique_ptr<NetCtrl>> clients_;
    std::vector<std::thread> threads_;
};

// The paced peer: one thread per recorder decoding its 16 channels frame by frame in turn, 25
// times a second, as the engine gets them. Both pay the same for keeping that many decoders
// warm and for waking to each burst.
// With streaming, the recorders stream meanwhile and only the decoding threads' CPU counts.
PacedRun PacedDecode(const Streams& streams, const Loops& loops,
                     const EmulatorProcess* streaming = nullptr) {
    std::unique_ptr<DiscardingClients> clients;
    if (streaming != nullptr) {
        clients = std::make_unique<DiscardingClients>(*streaming);
        if (!clients->Streaming(kRecorders)) return {};
    }
    const auto cpu_seconds_now = [&] {
        return streaming != nullptr ? ThreadCpuSeconds("paced-") : ProcessCpuSeconds();
    };
    std::atomic<bool> measuring{false};
    std::atomic<bool> stop{false};
    std::atomic<int64_t> frames{0};
    auto decode_recorder = [&] {
        ::pthread_setname_np(::pthread_self(), "paced-decode");
        std::vector<CH264Decoder> decoders(kChannels);
        for (CH264Decoder& decoder : decoders)
            decoder.Open(streams.width, streams.height);
        const auto interval = std::chrono::microseconds(1000000 / kStreamFps);
        auto next = std::chrono::steady_clock::now();
        for (int index = 0; !stop.load(); index = (index + 1) % kLoopFrames) {
            DecodeInTurn(loops, index, decoders);
            if (measuring.load()) frames.fetch_add(kChannels);
            next += interval;
            std::this_thread::sleep_until(next);
        }
    };
    std::vector<std::thread> threads;
    for (int a = 0; a < kRecorders; ++a)
        threads.emplace_back(decode_recorder);
    std::this_thread::sleep_for(kWarmUp);
    const double cpu_start = cpu_seconds_now();
    const double sleeps_start = VoluntarySleeps();
    measuring = true;
    std::this_thread::sleep_for(kMeasured);
    measuring = false;
    const double cpu_seconds = cpu_seconds_now() - cpu_start;
    const double sleeps = VoluntarySleeps() - sleeps_start;
    stop = true;
    for (std::thread& thread : threads)
        thread.join();
    const double decoded = static_cast<double>(std::max<int64_t>(frames.load(), 1));
    return {cpu_seconds * 1e6 / decoded, sleeps * kChannels / decoded};
}

// The same frames decoded back to back on one thread. CPU microseconds per frame.
double BackToBackDecodeUs(const Streams& streams, const Loops& loops) {
    std::vector<CH264Decoder> decoders(static_cast<std::size_t>(kRecorders) * kChannels);
    for (CH264Decoder& decoder : decoders)
        decoder.Open(streams.width, streams.height);
    for (int index = 0; index < kLoopFrames; ++index)  // warms the decoders' buffers
        DecodeInTurn(loops, index, decoders);
    int64_t frames = 0;
    const double cpu_start = ProcessCpuSeconds();
    const auto end = std::chrono::steady_clock::now() + kBackToBack;
    while (frames == 0 || std::chrono::steady_clock::now() < end) {
        for (int index = 0; index < kLoopFrames; ++index)
            DecodeInTurn(loops, index, decoders);
        frames += static_cast<int64_t>(decoders.size()) * kLoopFrames;
    }
    return (ProcessCpuSeconds() - cpu_start) * 1e6 / static_cast<double>(frames);
}

struct EngineRun {
    double cpu_us_per_frame = 0;
    double receive_us_per_frame = 0;  // the links' receiving threads
    double frame_thread_us_per_frame = 0;
    double sleeps_per_burst = 0;
    double decoded_share = 0;  // of the frames the recorders sent
    double cores_busy = 0;
    double mib_per_recorder = 0;
};

EngineRun RunEngine(const EmulatorProcess& emulator) {
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
    for (int a = 0; a < kRecorders; ++a) {
        manager->AddDvr("127.0.0.1:" + std::to_string(emulator.Ports()[a]), "", "admin", "admin",
                        "");
        manager->StartDvrNetwork(a);
        for (int channel = 0; channel < kChannels; ++channel)
            manager->SetWindowChannel(a * kChannels + channel, MakeChannelKey(a, channel));
        if (manager->ConnectDvr(a) < 0) return {};
    }
    manager->RefreshLiveViews();
    std::this_thread::sleep_for(kWarmUp);

    auto decoded = [&] {
        uint64_t total = 0;
        for (int a = 0; a < kRecorders; ++a)
            total += manager->GetFrameCounts(a).decoded;
        return total;
    };
    const uint64_t decoded_start = decoded();
    const double cpu_start = ProcessCpuSeconds();
    const double receive_start = ThreadCpuSeconds("link-recv");
    const double frame_start = ThreadCpuSeconds("frame-");
    const double sleeps_start = VoluntarySleeps();
    std::this_thread::sleep_for(kMeasured);
    const double cpu_seconds = ProcessCpuSeconds() - cpu_start;
    const uint64_t frames = decoded() - decoded_start;
    const double seconds = std::chrono::duration<double>(kMeasured).count();
    const double per_frame = 1.0 / static_cast<double>(std::max<uint64_t>(frames, 1));
    EngineRun run;
    run.cpu_us_per_frame = cpu_seconds * 1e6 * per_frame;
    run.receive_us_per_frame = (ThreadCpuSeconds("link-recv") - receive_start) * 1e6 * per_frame;
    run.frame_thread_us_per_frame = (ThreadCpuSeconds("frame-") - frame_start) * 1e6 * per_frame;
    run.sleeps_per_burst = (VoluntarySleeps() - sleeps_start) * kChannels * per_frame;
    run.decoded_share =
        static_cast<double>(frames) / (kRecorders * kChannels * kStreamFps * seconds);
    run.cores_busy = cpu_seconds / seconds;
    run.mib_per_recorder = (ResidentMiB() - resident_before) / kRecorders;
    manager->Shutdown();
    manager.reset();
    std::filesystem::remove(store);
    return run;
}

// Rounds of the engine and both peers on 256 channels of one picture size.
void BM_Engine(benchmark::State& state, Streams streams) {
    EmulatorProcess emulator(kRecorders, streams.size_code);
    if (static_cast<int>(emulator.Ports().size()) != kRecorders) {
        state.SkipWithError("the recorder emulator did not start");
        return;
    }
    const Loops loops = ChannelLoops(streams);
    const std::string what = std::string("engine, 256 ") + streams.name + " channels";
    std::vector<double> engine_us, paced_us, back_to_back_us, shares, cores, loads;
    std::vector<double> receive_us, frame_thread_us, engine_sleeps, paced_sleeps, streaming_us;
    double mib_per_recorder = 0;
    for (auto _ : state) {
        for (int round = 0; round < kEngineRounds; ++round) {
            EngineRun run;
            PacedRun paced_run;
            if (round % 2 == 0) {
                run = RunEngine(emulator);
                paced_run = PacedDecode(streams, loops);
            } else {
                paced_run = PacedDecode(streams, loops);
                run = RunEngine(emulator);
            }
            const double paced = paced_run.cpu_us_per_frame;
            const double paced_streaming = PacedDecode(streams, loops, &emulator).cpu_us_per_frame;
            if (paced_streaming == 0) {
                state.SkipWithError("the discarding clients did not stream");
                return;
            }
            const double back_to_back = BackToBackDecodeUs(streams, loops);
            loads.push_back(LoadAverage());
            if (run.cpu_us_per_frame == 0) {
                state.SkipWithError("a log-in failed");
                return;
            }
            engine_us.push_back(run.cpu_us_per_frame);
            paced_us.push_back(paced);
            back_to_back_us.push_back(back_to_back);
            receive_us.push_back(run.receive_us_per_frame);
            streaming_us.push_back(paced_streaming);
            frame_thread_us.push_back(run.frame_thread_us_per_frame);
            engine_sleeps.push_back(run.sleeps_per_burst);
            paced_sleeps.push_back(paced_run.sleeps_per_burst);
            shares.push_back(run.decoded_share);
            cores.push_back(run.cores_busy);
            mib_per_recorder = run.mib_per_recorder;
            AddCostRatio(what + " / paced decode", run.cpu_us_per_frame / paced);
            AddCostRatio(what + " / back-to-back decode", run.cpu_us_per_frame / back_to_back);
            AddCostRatio(what + " / paced decode while the recorders stream",
                         run.cpu_us_per_frame / paced_streaming);
            // What the recorders' streaming costs decoding that shares the machine with it.
            AddCostRatio(std::string("paced decode of 256 ") + streams.name +
                             " channels while the recorders stream / without",
                         paced_streaming / paced);
            // The floor under the line above: decoding frames as they come, even without the
            // engine, costs this much more than decoding them back to back.
            AddCostRatio(std::string("paced decode of 256 ") + streams.name +
                             " channels / back-to-back decode",
                         paced / back_to_back);
        }
    }
    const double engine = Median(engine_us);
    state.counters["engine_us_per_frame"] = engine;
    state.counters["paced_us_per_frame"] = Median(paced_us);
    state.counters["paced_streaming_us_per_frame"] = Median(streaming_us);
    state.counters["back_to_back_us_per_frame"] = Median(back_to_back_us);
    state.counters["receive_us_per_frame"] = Median(receive_us);
    state.counters["frame_thread_us_per_frame"] = Median(frame_thread_us);
    state.counters["engine_sleeps_per_burst"] = Median(engine_sleeps);
    state.counters["paced_sleeps_per_burst"] = Median(paced_sleeps);
    state.counters["decoded_share"] = Median(shares);
    state.counters["min_decoded_share"] = *std::min_element(shares.begin(), shares.end());
    state.counters["cores_busy"] = Median(cores);
    state.counters["MiB_per_recorder"] = mib_per_recorder;
    state.counters["load_min"] = *std::min_element(loads.begin(), loads.end());
    state.counters["load_max"] = *std::max_element(loads.begin(), loads.end());
    // What the machine's cores would carry at the engine's cost per frame, were it alone.
    state.counters["channels_at_all_cores"] =
        std::thread::hardware_concurrency() * 1e6 / (engine * kStreamFps);
}

// The engine on 256 CIF channels over TLS against the same over plain links (goal: at most
// 1.05 times the CPU per frame).
void BM_EngineOverTls(benchmark::State& state) {
    EmulatorProcess secure(kRecorders, kCif.size_code);
    EmulatorProcess plain(kRecorders, kCif.size_code, true);
    if (static_cast<int>(secure.Ports().size()) != kRecorders ||
        static_cast<int>(plain.Ports().size()) != kRecorders) {
        state.SkipWithError("the recorder emulator did not start");
        return;
    }
    auto run_plain = [&] {
        UsePlainLinksForMeasurement(true);
        const EngineRun run = RunEngine(plain);
        UsePlainLinksForMeasurement(false);
        return run;
    };
    std::vector<double> secure_us, plain_us, ratios;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            EngineRun tls;
            EngineRun bare;
            if (round % 2 == 0) {
                tls = RunEngine(secure);
                bare = run_plain();
            } else {
                bare = run_plain();
                tls = RunEngine(secure);
            }
            if (tls.cpu_us_per_frame == 0 || bare.cpu_us_per_frame == 0) {
                state.SkipWithError("a log-in failed");
                return;
            }
            secure_us.push_back(tls.cpu_us_per_frame);
            plain_us.push_back(bare.cpu_us_per_frame);
            ratios.push_back(tls.cpu_us_per_frame / bare.cpu_us_per_frame);
            AddCostRatio("engine, 256 CIF channels, TLS / plain link", ratios.back());
        }
    }
    state.counters["tls_us_per_frame"] = Median(secure_us);
    state.counters["plain_us_per_frame"] = Median(plain_us);
    state.counters["tls_over_plain"] = Median(ratios);
}
BENCHMARK(BM_EngineOverTls)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

const bool kRegistered = [] {
    for (const Streams& streams : {kCif, kD1}) {
        benchmark::RegisterBenchmark((std::string("BM_Engine/") + streams.name).c_str(), BM_Engine,
                                     streams)
            ->Iterations(1)
            ->Unit(benchmark::kSecond)
            ->UseRealTime();
    }
    return true;
}();

}  // namespace
