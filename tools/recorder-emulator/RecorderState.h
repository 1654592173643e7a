#pragma once

#include "platform/netctrl/protocol/LoginMac.h"
#include "platform/records/DvrMachineInfo.h"
#include "platform/records/NetCommand.h"
#include "platform/records/NetMacSetPara.h"
#include "tools/recorder-emulator/DaySchedule.h"
#include "tools/recorder-emulator/Fault.h"
#include "tools/recorder-emulator/FrameLoop.h"
#include "tools/recorder-emulator/RecorderConfig.h"
#include "tools/recorder-emulator/RecorderJournal.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class ChannelStream;
namespace netproto {
class TlsIdentity;
}

// Wrong passwords from one client address wait their turn, longer after each failure, so an
// online search of the password is slow. Not thread-safe: RecorderState guards it.
class LoginPenalties {
public:
    static constexpr int64_t kFirstDelayUs = 100'000;
    // Below the client's 5 s wait for a log-in answer, so a slowed answer still arrives.
    static constexpr int64_t kMaxDelayUs = 4'000'000;
    // An address that has not failed for this long starts afresh.
    static constexpr int64_t kForgetUs = 15LL * 60 * 1'000'000;

    // When a log-in from address may be checked; log-ins at once from one address queue up.
    int64_t Turn(const std::string& address, int64_t now_us);
    void Record(const std::string& address, bool wrong_password, int64_t now_us);

private:
    struct Penalty {
        int failures = 0;
        int64_t next_turn_us = 0;
        int64_t last_failure_us = 0;
    };
    static int64_t DelayUs(int failures);
    std::map<std::string, Penalty> penalties_;
};

// One recorder as all its connections share it: configuration, the users logged in, lamps,
// parameters and the journal of requests. Thread-safe.
class RecorderState {
public:
    // The record lamp (bit 5 of the lamp word), which the REC key turns on.
    static constexpr uint32_t kRecordLamp = 0x0020;

    // loops: one encoded loop per channel. Without an identity the recorder speaks without
    // TLS (measurements and fuzzing only).
    RecorderState(RecorderConfig config, std::filesystem::path sandbox,
                  std::vector<std::shared_ptr<const FrameLoop>> loops,
                  std::shared_ptr<const netproto::TlsIdentity> identity = nullptr);
    ~RecorderState();

    const RecorderConfig& Config() const { return config_; }
    std::shared_ptr<const DaySchedule> Schedule() const { return schedule_; }
    const std::filesystem::path& Sandbox() const { return sandbox_; }
    const netproto::TlsIdentity* Identity() const { return identity_.get(); }

    // Streams of the channels in mask (every recorder channel for ~0u), each at its key frame.
    std::vector<ChannelStream> MakeChannelStreams(uint32_t mask) const;

    // When a log-in from address may be checked (LoginPenalties).
    int64_t LoginTurnUs(const std::string& address, int64_t now_us);
    // Log-in result: >= 0 logged in (user level in *level, the recorder's proof in *proof),
    // -2 unknown user or wrong password, -3 the super user is logged in elsewhere, -4 too many
    // users. A wrong password counts against address.
    int32_t Login(const std::string& user, const netproto::Nonce& server_nonce,
                  const netproto::Nonce& client_nonce, const netproto::Mac& mac,
                  const netproto::ChannelBinding& binding, const std::string& address,
                  int64_t now_us, int* level, netproto::Mac* proof);
    void Logout(const std::string& user);

    _DVR_MACHINE_INFO_ MachineInfo(int user_level) const;
    int32_t DiskCount() const;
    _DVR_DISK_INFO_ Disk() const;
    uint32_t LampWord() const;

    void RecordCommand(const _NET_COMMAND_& command);
    void RecordNetParameter(int32_t rate, int32_t fps);
    void RecordLiveRequest(uint32_t mask, int32_t send_audio);
    void RecordKeyFrameRequest();
    void RecordFault(Fault fault);
    // Returns the record's place among the play requests.
    size_t RecordPlayRequest(const PlayRequestRecord& request);
    void RecordPlayKeyFrames(size_t request, int64_t elapsed_us);
    void RecordShell(const std::string& command);
    void RecordUpload(UploadedFile file);
    NET_MAC_SET_PARA Para() const;
    void SetPara(const NET_MAC_SET_PARA& para);

    void Attach(FaultTarget* target);
    void Detach(FaultTarget* target);
    void InjectFault(Fault fault, int duration_ms);

    RecorderJournal Journal() const;
    std::vector<std::string> LoggedInUsers() const;

private:
    const RecorderConfig config_;
    const std::filesystem::path sandbox_;
    const std::vector<std::shared_ptr<const FrameLoop>> loops_;
    const std::shared_ptr<const DaySchedule> schedule_;
    const std::shared_ptr<const netproto::TlsIdentity> identity_;

    mutable std::mutex mutex_;
    std::multiset<std::string> logged_in_;
    uint32_t lamp_word_;
    NET_MAC_SET_PARA para_;
    RecorderJournal journal_;
    std::set<FaultTarget*> targets_;
    LoginPenalties penalties_;
};
