// recorder-emulator: runs recorders (and the lookup server) on 127.0.0.1 until interrupted.
#include "tools/recorder-emulator/CommandLine.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

#include <csignal>
#include <cstdio>
#include <thread>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void OnSignal(int) { g_stop = 1; }

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    const auto setup = ParseCommandLine(argc, argv, &error);
    if (!setup) {
        std::fprintf(stderr, "recorder-emulator: %s\n\n%s", error.c_str(), CommandLineUsage());
        return 2;
    }
    if (setup->help) {
        std::fputs(CommandLineUsage(), stdout);
        return 0;
    }
    RecorderEmulator emulator;
    if (!emulator.Start(setup->recorders, setup->sandbox, &error)) {
        std::fprintf(stderr, "recorder-emulator: %s\n", error.c_str());
        return 1;
    }
    if (setup->lookup_port && !emulator.StartLookup(*setup->lookup_port, &error)) {
        std::fprintf(stderr, "recorder-emulator: %s\n", error.c_str());
        return 1;
    }
    for (size_t i = 0; i < emulator.Count(); ++i) {
        const RecorderConfig& c = setup->recorders[i];
        std::printf("recorder %zu: 127.0.0.1:%u name '%s' type %d, %d channels\n", i + 1,
                    emulator.Port(i), c.name.c_str(), c.type_code, c.channel_count);
    }
    if (setup->lookup_port) std::printf("lookup server: 127.0.0.1:%u\n", emulator.LookupPort());
    std::printf("uploads go below %s\n", setup->sandbox.c_str());
    std::fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    while (!g_stop)
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    emulator.Stop();
    return 0;
}
