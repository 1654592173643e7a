// Log-in time over TLS against the same log-in over a plain link: connect, handshake, the
// log-in proofs both ways (one key derivation on each side) and the log-out, alternating.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <chrono>
#include <filesystem>
#include <string>

#include "bench/support/BenchPairs.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/testing/PlainLinkForMeasurement.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

double LogInUs(NetCtrl& net, uint16_t port) {
    const auto start = std::chrono::steady_clock::now();
    const int result = net.ConnectToServer("127.0.0.1", port, "admin", "admin");
    const auto end = std::chrono::steady_clock::now();
    net.DisConnect();
    return result < 0 ? -1 : std::chrono::duration<double, std::micro>(end - start).count();
}

void BM_LogInTlsAgainstPlain(benchmark::State& state) {
    RecorderConfig secure = DefaultRecorderConfig(1, 14484);
    secure.loop_frames = 4;
    RecorderConfig plain = secure;
    plain.plain_link_for_measurement = true;
    const std::filesystem::path sandbox =
        std::filesystem::temp_directory_path() / ("login_bench_" + std::to_string(::getpid()));
    RecorderEmulator emulator;
    std::string error;
    if (!emulator.Start({secure, plain}, sandbox, &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    NetCtrl net;
    net.InitNetWork();
    for (auto _ : state) {
        const double tls_us = LogInUs(net, emulator.Port(0));
        UsePlainLinksForMeasurement(true);
        const double plain_us = LogInUs(net, emulator.Port(1));
        UsePlainLinksForMeasurement(false);
        if (tls_us < 0 || plain_us < 0) {
            state.SkipWithError(net.LastError().c_str());
            break;
        }
        AddPairTimes("log-in, TLS against plain", tls_us, plain_us);
        state.counters["tls_ms"] = tls_us / 1000;
        state.counters["plain_ms"] = plain_us / 1000;
    }
    emulator.Stop();
    std::filesystem::remove_all(sandbox);
}
BENCHMARK(BM_LogInTlsAgainstPlain)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
