#include "tools/recorder-emulator/RecorderState.h"

#include "tools/recorder-emulator/ChannelStream.h"

#include <algorithm>

namespace {

// Parameters of a recorder fresh from the factory: every picture value in the middle of its
// list, PTZ at 9600 baud, address 1, best encoding.
NET_MAC_SET_PARA FactoryPara(int series) {
    NET_MAC_SET_PARA p{};
    for (int c = 0; c < 16; ++c) {
        p.brightness[c] = p.hue[c] = p.contrast[c] = p.saturation[c] = 50;
        p.hDelay[c] = 32;
        p.vDelay[c] = 5;
        p.spotTime[c] = 5;
        p.ptzBaud[c] = 3;
        p.ptzAddress[c] = 0;
        p.ptzProtocol[c] = 0;
        p.encodeQuality[c] = series == 7 ? 2 : 0;  // "high" sits at either end of the list
        p.encodeFps[c] = 3;
    }
    p.resolution = series == 7 ? 0 : 1;  // CIF
    return p;
}

const UserAccount* FindUser(const std::vector<UserAccount>& users, const std::string& name) {
    const auto it = std::find_if(users.begin(), users.end(),
                                 [&](const UserAccount& u) { return u.name == name; });
    return it == users.end() ? nullptr : &*it;
}

}  // namespace

RecorderState::RecorderState(RecorderConfig config, std::filesystem::path sandbox,
                             std::vector<std::shared_ptr<const FrameLoop>> loops)
    : config_(std::move(config)),
      sandbox_(std::move(sandbox)),
      loops_(std::move(loops)),
      schedule_(std::make_shared<DaySchedule>(config_.day_schedule, config_.first_record_day,
                                              config_.last_record_day, config_.channel_count)),
      lamp_word_(config_.lamp_word),
      para_(FactoryPara(config_.type_code / 1000)) {}

std::vector<ChannelStream> RecorderState::MakeChannelStreams(uint32_t mask) const {
    std::vector<ChannelStream> streams;
    for (int c = 0; c < config_.channel_count; ++c) {
        if (mask >> c & 1) streams.emplace_back(c, config_.channel_formats[c], loops_[c]);
    }
    return streams;
}

int32_t RecorderState::Login(const std::string& user, const netproto::Nonce& server_nonce,
                             const netproto::Nonce& client_nonce, const netproto::Mac& mac,
                             int* level) {
    const UserAccount* account = FindUser(config_.users, user);
    if (!account || !netproto::CheckLoginMac(account->password, server_nonce, client_nonce, mac)) {
        return -2;
    }
    std::lock_guard lock(mutex_);
    if (account->level == 2) {
        for (const std::string& name : logged_in_) {
            const UserAccount* other = FindUser(config_.users, name);
            if (other && other->level == 2) return -3;
        }
    }
    if (logged_in_.size() >= static_cast<size_t>(config_.max_users)) return -4;
    logged_in_.insert(user);
    *level = account->level;
    return 0;
}

void RecorderState::Logout(const std::string& user) {
    std::lock_guard lock(mutex_);
    const auto it = logged_in_.find(user);
    if (it != logged_in_.end()) logged_in_.erase(it);
}

_DVR_MACHINE_INFO_ RecorderState::MachineInfo(int user_level) const {
    _DVR_MACHINE_INFO_ info{};
    info.nTypeCode = config_.type_code;
    const uint32_t lamps = LampWord();
    info.nLedLow = static_cast<int32_t>(lamps & 0xff);
    info.nLedHigh = static_cast<int32_t>(lamps >> 8 & 0xff);
    info.nDiskCount = DiskCount();
    for (int i = 0; i < info.nDiskCount; ++i)
        info.disk[i] = Disk();
    info.nCodec = config_.codec_word;
    info.nUserLevel = user_level;
    info.nLinkState = kLinkLoggedIn;
    info.nAudioMask = static_cast<int32_t>(config_.audio_mask);
    return info;
}

int32_t RecorderState::DiskCount() const { return config_.disk_count; }

_DVR_DISK_INFO_ RecorderState::Disk() const {
    _DVR_DISK_INFO_ disk{};
    disk.nSizeMB = config_.disk_size_mb;
    disk.nFreePercent = config_.disk_free_percent;
    disk.nFirstTime = static_cast<int32_t>(schedule_->EarliestTime());
    disk.nLastTime = static_cast<int32_t>(schedule_->LatestTime());
    return disk;
}

uint32_t RecorderState::LampWord() const {
    std::lock_guard lock(mutex_);
    return lamp_word_;
}

void RecorderState::RecordCommand(const _NET_COMMAND_& command) {
    std::lock_guard lock(mutex_);
    journal_.commands.push_back(command);
    if (command.nCommand == kNetCommandKey && command.nSubCode == kKeyRec) {
        lamp_word_ |= kRecordLamp;
    }
}

void RecorderState::RecordNetParameter(int32_t rate, int32_t fps) {
    std::lock_guard lock(mutex_);
    journal_.net_parameters.push_back({rate, fps});
}

void RecorderState::RecordLiveRequest(uint32_t mask, int32_t send_audio) {
    std::lock_guard lock(mutex_);
    journal_.live_requests.push_back({mask, send_audio});
}

void RecorderState::RecordKeyFrameRequest() {
    std::lock_guard lock(mutex_);
    ++journal_.key_frame_requests;
}

void RecorderState::RecordFault(Fault fault) {
    std::lock_guard lock(mutex_);
    journal_.faults.push_back(fault);
}

size_t RecorderState::RecordPlayRequest(const PlayRequestRecord& request) {
    std::lock_guard lock(mutex_);
    journal_.play_requests.push_back(request);
    return journal_.play_requests.size() - 1;
}

void RecorderState::RecordPlayKeyFrames(size_t request, int64_t elapsed_us) {
    std::lock_guard lock(mutex_);
    if (request < journal_.play_requests.size()) {
        journal_.play_requests[request].first_key_frames_us = elapsed_us;
    }
}

void RecorderState::RecordShell(const std::string& command) {
    std::lock_guard lock(mutex_);
    journal_.shell_commands.push_back(command);
}

void RecorderState::RecordUpload(UploadedFile file) {
    std::lock_guard lock(mutex_);
    journal_.uploads.push_back(std::move(file));
}

NET_MAC_SET_PARA RecorderState::Para() const {
    std::lock_guard lock(mutex_);
    return para_;
}

void RecorderState::SetPara(const NET_MAC_SET_PARA& para) {
    std::lock_guard lock(mutex_);
    para_ = para;
    ++journal_.para_sets;
}

void RecorderState::Attach(FaultTarget* target) {
    std::lock_guard lock(mutex_);
    targets_.insert(target);
}

void RecorderState::Detach(FaultTarget* target) {
    std::lock_guard lock(mutex_);
    targets_.erase(target);
}

void RecorderState::InjectFault(Fault fault, int duration_ms) {
    std::lock_guard lock(mutex_);
    for (FaultTarget* target : targets_)
        target->Inject(fault, duration_ms);
}

RecorderJournal RecorderState::Journal() const {
    std::lock_guard lock(mutex_);
    return journal_;
}

std::vector<std::string> RecorderState::LoggedInUsers() const {
    std::lock_guard lock(mutex_);
    return {logged_in_.begin(), logged_in_.end()};
}
