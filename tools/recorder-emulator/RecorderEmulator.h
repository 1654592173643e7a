#pragma once

#include "tools/recorder-emulator/Fault.h"
#include "tools/recorder-emulator/RecorderConfig.h"
#include "tools/recorder-emulator/RecorderJournal.h"
#include "tools/recorder-emulator/RecorderState.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class LoopCache;
class LookupServer;
class RecorderServer;

// Several recorders (and optionally the lookup server) in this process, on loopback, for
// tests and the demo:
//
//   RecorderEmulator emulator;
//   std::string error;
//   emulator.Start({DefaultRecorderConfig(16, today)}, sandbox_folder, &error);
//   NetCtrl::ConnectToServer("127.0.0.1", emulator.Port(0), "admin", "admin");
//   emulator.InjectFault(0, Fault::kDropLink);
//   emulator.Journal(0).shell_commands ...
class RecorderEmulator {
public:
    // Encoded loops come from cache; by default the one the whole process shares.
    RecorderEmulator();
    explicit RecorderEmulator(LoopCache& cache);
    ~RecorderEmulator();
    RecorderEmulator(const RecorderEmulator&) = delete;
    RecorderEmulator& operator=(const RecorderEmulator&) = delete;

    // Encodes the loops the recorders need that the cache lacks and starts them on 127.0.0.1, each
    // on its configured port (0 = any free port). Uploaded files go below sandbox/recorder<n>/ (n
    // from 1). On any failure nothing is left running and error says which recorder and why.
    bool Start(const std::vector<RecorderConfig>& recorders, const std::filesystem::path& sandbox,
               std::string* error);
    void Stop();

    size_t Count() const { return servers_.size(); }
    uint16_t Port(size_t recorder) const;

    // Every connection the recorder holds commits the fault; duration_ms is the stall's length.
    void InjectFault(size_t recorder, Fault fault, int duration_ms = 0);

    RecorderJournal Journal(size_t recorder) const;
    NET_MAC_SET_PARA Para(size_t recorder) const;
    uint32_t LampWord(size_t recorder) const;
    std::vector<std::string> LoggedInUsers(size_t recorder) const;

    // Starts the lookup server on 127.0.0.1:port (0 = any free port) and registers every
    // recorder that has a name. Call after Start.
    bool StartLookup(uint16_t port, std::string* error);
    uint16_t LookupPort() const;
    // The running lookup server, for tests that take recorders off line or refuse lookups.
    LookupServer* Lookup() { return lookup_.get(); }

private:
    const RecorderState& State(size_t recorder) const;

    LoopCache& cache_;
    std::vector<std::unique_ptr<RecorderServer>> servers_;
    std::vector<std::shared_ptr<RecorderState>> states_;
    std::unique_ptr<LookupServer> lookup_;
};
