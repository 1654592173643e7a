#include "tools/recorder-emulator/RecorderEmulator.h"

#include "tools/lookup-server/LookupServer.h"
#include "tools/recorder-emulator/EmulatorConfigFile.h"
#include "tools/recorder-emulator/LoopCache.h"
#include "tools/recorder-emulator/PictureSize.h"
#include "tools/recorder-emulator/RecorderServer.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace {

constexpr const char* kLoopback = "127.0.0.1";

LoopCache::Key KeyOf(const RecorderConfig& config, int channel) {
    const ChannelFormat f = config.channel_formats[channel];
    const PictureSize size = *PictureSizeOf(f.standard, f.size_code);
    return {config.Codec(), size.width, size.height, channel, config.loop_frames, config.fps};
}

int EncoderThreads() {
    // Half the machine: start-up is short and others may share it.
    return static_cast<int>(std::clamp(std::thread::hardware_concurrency() / 2, 1u, 8u));
}

}  // namespace

RecorderEmulator::RecorderEmulator() : RecorderEmulator(LoopCache::Shared()) {}

RecorderEmulator::RecorderEmulator(LoopCache& cache) : cache_(cache) {}

RecorderEmulator::~RecorderEmulator() { Stop(); }

bool RecorderEmulator::Start(const std::vector<RecorderConfig>& recorders,
                             const std::filesystem::path& sandbox, std::string* error) {
    Stop();
    std::vector<LoopCache::Key> keys;
    for (size_t i = 0; i < recorders.size(); ++i) {
        if (!ValidateRecorderConfig(recorders[i], error)) {
            *error = "recorder " + std::to_string(i + 1) + ": " + *error;
            return false;
        }
        for (int c = 0; c < recorders[i].channel_count; ++c)
            keys.push_back(KeyOf(recorders[i], c));
    }
    try {
        cache_.Prepare(keys, EncoderThreads());
    } catch (const std::exception& e) {
        *error = std::string("encoding the streams failed: ") + e.what();
        return false;
    }
    for (size_t i = 0; i < recorders.size(); ++i) {
        const RecorderConfig& config = recorders[i];
        std::vector<std::shared_ptr<const FrameLoop>> loops;
        for (int c = 0; c < config.channel_count; ++c)
            loops.push_back(cache_.Get(KeyOf(config, c)));
        auto state = std::make_shared<RecorderState>(
            config, sandbox / ("recorder" + std::to_string(i + 1)), std::move(loops));
        auto server = std::make_unique<RecorderServer>(state);
        if (!server->Start(kLoopback, config.port, error)) {
            *error = "recorder " + std::to_string(i + 1) + ": " + *error;
            Stop();
            return false;
        }
        states_.push_back(std::move(state));
        servers_.push_back(std::move(server));
    }
    return true;
}

void RecorderEmulator::Stop() {
    if (lookup_) lookup_->Stop();
    lookup_.reset();
    servers_.clear();  // each server ends its connections
    states_.clear();
}

uint16_t RecorderEmulator::Port(size_t recorder) const { return servers_.at(recorder)->Port(); }

const RecorderState& RecorderEmulator::State(size_t recorder) const {
    return *states_.at(recorder);
}

void RecorderEmulator::InjectFault(size_t recorder, Fault fault, int duration_ms) {
    states_.at(recorder)->InjectFault(fault, duration_ms);
}

RecorderJournal RecorderEmulator::Journal(size_t recorder) const {
    return State(recorder).Journal();
}

NET_MAC_SET_PARA RecorderEmulator::Para(size_t recorder) const { return State(recorder).Para(); }

uint32_t RecorderEmulator::LampWord(size_t recorder) const { return State(recorder).LampWord(); }

std::vector<std::string> RecorderEmulator::LoggedInUsers(size_t recorder) const {
    return State(recorder).LoggedInUsers();
}

bool RecorderEmulator::StartLookup(uint16_t port, std::string* error) {
    auto lookup = std::make_unique<LookupServer>();
    if (!lookup->Start(kLoopback, port)) {
        *error = "the lookup server cannot listen on port " + std::to_string(port);
        return false;
    }
    for (size_t i = 0; i < servers_.size(); ++i) {
        const std::string& name = states_[i]->Config().name;
        if (!name.empty()) lookup->SetDevice(name, kLoopback, servers_[i]->Port());
    }
    lookup_ = std::move(lookup);
    return true;
}

uint16_t RecorderEmulator::LookupPort() const { return lookup_ ? lookup_->Port() : 0; }
