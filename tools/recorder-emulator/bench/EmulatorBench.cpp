// Start-up time and streaming cost of the recorder emulator.
#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/netctrl/protocol/SocketIo.h"
#include "tools/recorder-emulator/LoopCache.h"
#include "tools/recorder-emulator/LoopEncoder.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

std::vector<RecorderConfig> CifRecorders(int count) {
    std::vector<RecorderConfig> configs;
    for (int i = 0; i < count; ++i)
        configs.push_back(DefaultRecorderConfig(16, 14000));
    return configs;
}

std::filesystem::path Sandbox() {
    return std::filesystem::temp_directory_path() /
           ("emulator_bench_" + std::to_string(::getpid()));
}

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ProcessCpuSeconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double ThreadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Four recorders of 16 CIF channels from a cold cache, against the peer of encoding the same
// loops one after another on one thread.
void BM_StartUpFourRecorders(benchmark::State& state) {
    double start_s = 0, serial_s = 0;
    for (auto _ : state) {
        LoopCache cache;
        RecorderEmulator emulator(cache);
        std::string error;
        const auto t0 = Clock::now();
        if (!emulator.Start(CifRecorders(4), Sandbox(), &error)) {
            state.SkipWithError(error.c_str());
            return;
        }
        const auto t1 = Clock::now();
        emulator.Stop();
        for (int c = 0; c < 16; ++c) {
            benchmark::DoNotOptimize(EncodeChannelLoop(VideoCodec::kH264, {352, 288}, c, 25, 25));
        }
        const auto t2 = Clock::now();
        start_s += Seconds(t1 - t0);
        serial_s += Seconds(t2 - t1);
    }
    state.counters["start_ms"] = 1000 * start_s / state.iterations();
    state.counters["serial_encode_ms"] = 1000 * serial_s / state.iterations();
    state.counters["start_to_serial_ratio"] = start_s / serial_s;
}
BENCHMARK(BM_StartUpFourRecorders)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// A client that logs in, asks for all 16 channels and reads until told to stop.
struct Drain {
    uint64_t bytes = 0;
    double cpu_s = 0;
    bool ok = false;
};

void DrainRecorder(uint16_t port, const std::atomic<bool>& stop, Drain& out) {
    std::string error;
    const int fd = netproto::ConnectTcp("127.0.0.1", port, 5000, error);
    if (fd < 0) return;
    netproto::MessageDecoder decoder;
    netproto::Message m;
    if (netproto::SendMessage(fd, {1, netproto::Hello{}}, 5000, error) &&
        netproto::RecvMessage(fd, decoder, 5000, m, error)) {
        netproto::Login login;
        login.user = "guest";
        login.client_nonce = netproto::RandomNonce();
        login.mac = netproto::ComputeLoginMac(
            "guest", std::get<netproto::Challenge>(m.body).server_nonce, login.client_nonce);
        out.ok = netproto::SendMessage(fd, {2, login}, 5000, error) &&
                 netproto::RecvMessage(fd, decoder, 5000, m, error) &&
                 netproto::SendMessage(fd, {3, netproto::LiveStart{0xffff, 0}}, 5000, error);
    }
    std::vector<uint8_t> buffer(1 << 16);
    while (out.ok && !stop) {
        size_t got = 0;
        const auto status = netproto::RecvSome(fd, buffer.data(), buffer.size(), 100, got);
        if (status == netproto::IoStatus::kClosed || status == netproto::IoStatus::kError) break;
        out.bytes += got;
    }
    ::close(fd);
    out.cpu_s = ThreadCpuSeconds();
}

// N recorders streaming 16 CIF channels at 25 fps each to N clients in this process; the
// emulator's CPU is the process's less the clients'. Peer: what the clients spend reading.
void BM_StreamRecorders(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    RecorderEmulator emulator;
    std::string error;
    if (!emulator.Start(CifRecorders(count), Sandbox(), &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    double emulator_cpu_s = 0, client_cpu_s = 0, wall_s = 0;
    uint64_t bytes = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false};
        std::vector<Drain> drains(count);
        std::vector<std::thread> clients;
        const double cpu0 = ProcessCpuSeconds();
        const auto t0 = Clock::now();
        for (int i = 0; i < count; ++i) {
            clients.emplace_back(DrainRecorder, emulator.Port(i), std::cref(stop),
                                 std::ref(drains[i]));
        }
        std::this_thread::sleep_for(std::chrono::seconds(3));
        stop = true;
        for (auto& t : clients)
            t.join();
        wall_s += Seconds(Clock::now() - t0);
        const double cpu = ProcessCpuSeconds() - cpu0;
        for (const Drain& d : drains) {
            if (!d.ok) state.SkipWithError("a client could not log in");
            client_cpu_s += d.cpu_s;
            bytes += d.bytes;
        }
        emulator_cpu_s += cpu - client_cpu_s;
    }
    emulator.Stop();
    state.counters["emulator_cpu_percent"] = 100 * emulator_cpu_s / wall_s;
    state.counters["client_cpu_percent"] = 100 * client_cpu_s / wall_s;
    state.counters["emulator_to_client_ratio"] = emulator_cpu_s / client_cpu_s;
    state.counters["MB_per_s"] = static_cast<double>(bytes) / 1e6 / wall_s;
    state.counters["frames_per_s"] = 16.0 * 25 * count;
}
BENCHMARK(BM_StreamRecorders)
    ->Arg(4)
    ->Arg(16)
    ->Arg(64)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
