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

#include <filesystem>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

class ChannelStream;

// One recorder as all its connections share it: configuration, the users logged in, lamps,
// parameters and the journal of requests. Thread-safe.
class RecorderState {
public:
    // The record lamp (bit 5 of the lamp word), which the REC key turns on.
    static constexpr uint32_t kRecordLamp = 0x0020;

    // loops: one encoded loop per channel.
    RecorderState(RecorderConfig config, std::filesystem::path sandbox,
                  std::vector<std::shared_ptr<const FrameLoop>> loops);

    const RecorderConfig& Config() const { return config_; }
    std::shared_ptr<const DaySchedule> Schedule() const { return schedule_; }
    const std::filesystem::path& Sandbox() const { return sandbox_; }

    // Streams of the channels in mask (every recorder channel for ~0u), each at its key frame.
    std::vector<ChannelStream> MakeChannelStreams(uint32_t mask) const;

    // Log-in result: >= 0 logged in (user level in *level), -2 unknown user or wrong
    // password, -3 the super user is logged in elsewhere, -4 too many users.
    int32_t Login(const std::string& user, const netproto::Nonce& server_nonce,
                  const netproto::Nonce& client_nonce, const netproto::Mac& mac, int* level);
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

    mutable std::mutex mutex_;
    std::multiset<std::string> logged_in_;
    uint32_t lamp_word_;
    NET_MAC_SET_PARA para_;
    RecorderJournal journal_;
    std::set<FaultTarget*> targets_;
};
