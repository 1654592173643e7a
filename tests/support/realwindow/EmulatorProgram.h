#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class ChildProcess;

// The recorder emulator program, started from an INI text (see the emulator's
// EmulatorConfigFile.h). "${FOLDER}" in the text stands for a fresh folder of the emulator's
// own (for its sandbox); port = 0 and lookup_port = 0 pick free ports, read back here.
class EmulatorProgram {
public:
    explicit EmulatorProgram(const std::string& ini_text);
    ~EmulatorProgram();
    EmulatorProgram(const EmulatorProgram&) = delete;
    EmulatorProgram& operator=(const EmulatorProgram&) = delete;

    // Every recorder (and the lookup server when asked) listens.
    bool Ok() const { return ok_; }
    int Port(std::size_t recorder) const { return ports_.at(recorder); }
    std::size_t RecorderCount() const { return ports_.size(); }
    std::optional<int> LookupPort() const { return lookup_port_; }
    const std::filesystem::path& Folder() const { return folder_; }
    std::string Output() const;

private:
    std::filesystem::path folder_;
    std::unique_ptr<ChildProcess> process_;
    std::vector<int> ports_;
    std::optional<int> lookup_port_;
    bool ok_ = false;
};
