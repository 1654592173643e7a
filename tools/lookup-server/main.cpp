#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/lookup-server/LookupServer.h"
#include "tools/lookup-server/ServerCommandLine.h"

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            std::fputs(kServerUsage, stdout);
            return 0;
        }
    }
    ServerCommandLine command_line;
    const std::string error = command_line.Parse(arguments);
    if (!error.empty()) {
        std::fprintf(stderr, "lookup-server: %s\n%s", error.c_str(), kServerUsage);
        return 2;
    }

    // Blocked before the serving thread starts, so only sigwait below sees them.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    LookupServer server;
    for (const ServerCommandLine::Device& device : command_line.devices) {
        server.SetDevice(device.name, device.address, device.port);
    }
    if (!server.Start(command_line.bind_address, command_line.port)) {
        std::fprintf(stderr, "lookup-server: cannot listen on %s:%u\n",
                     command_line.bind_address.c_str(), command_line.port);
        return 1;
    }
    std::printf("lookup-server: listening on %s:%u\n", command_line.bind_address.c_str(),
                server.Port());
    for (const ServerCommandLine::Device& device : command_line.devices) {
        std::printf("  %s -> %s:%u\n", device.name.c_str(), device.address.c_str(), device.port);
    }
    std::fflush(stdout);

    int signal_number = 0;
    sigwait(&stop_signals, &signal_number);
    server.Stop();
    return 0;
}
