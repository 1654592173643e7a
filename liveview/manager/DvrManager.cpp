#include "liveview/manager/DvrManager.h"

#include "liveview/manager/EngineLog.h"

#include "common/picture/YuvTables.h"
#include "platform/records/NetCommand.h"

CDvrManager::CDvrManager() : CDvrManager(DefaultWaveOutBackend(), CUserStore().Path()) {}

CDvrManager::CDvrManager(WaveOutBackend& audio, const std::string& store_path,
                         const DvrManagerOptions& options)
    : lookup_(options.lookup_timeouts),
      lookup_port_(options.lookup_port),
      stereo_(audio),
      mono_(audio),
      registry_(store_path),
      slots_(options.net_timeouts, options.allocate_buffer,
             [this](int a) { FrameThreadProc(*this, a); }) {
    InitYuvTables();
    texts_.UseDefaults();
    SetRecordDirectory(registry_.RecordDirectory());
    lookup_.Startup();
    stereo_.Open(2);
    mono_.Open(1);
}

CDvrManager::~CDvrManager() {
    {
        std::unique_lock lock(connect_mutex_);
        closed_ = true;
    }
    // Log-ins and lookups in progress are cut short so the connect threads come back soon.
    lookup_.Abort();
    slots_.StopConnections();
    slots_.StopFrameThreads();
    std::unique_lock lock(connect_mutex_);
    connect_done_.wait(lock, [this] { return connect_calls_ == 0; });
    // After the last connect thread: one of them may still have been asking the lookup server.
    lookup_.Cleanup();
}

// The sink may hold its caller until the window thread has shown the message. But Shutdown
// and the destructor wait on the window thread for connect and frame threads, which may be
// inside the sink: so once the window has begun closing, before it calls either, the sink
// must return at once and release the calls already waiting. The manager itself calls it no
// more after that.
void CDvrManager::SetMessageSink(MessageSink sink) {
    std::lock_guard lock(message_mutex_);
    message_sink_ = std::move(sink);
}

void CDvrManager::SetTexts(const LanguageSelect& texts) {
    std::lock_guard lock(message_mutex_);
    texts_ = texts;
}

void CDvrManager::ShowMessage(const std::string& text) {
    {
        // Once shut down, the window that would show a message is gone or waiting for the
        // connect threads; a box it had to show first would hold both up.
        std::lock_guard closing(connect_mutex_);
        if (closed_) return;
    }
    MessageSink sink;
    {
        std::lock_guard lock(message_mutex_);
        sink = message_sink_;
    }
    if (sink) {
        sink(text);
    } else {
        EngineLog().warn("{}", text);
    }
}

std::string CDvrManager::DiagWhere(int a, int channel, int cell) const {
    std::string where;
    if (IsSlot(a)) where = "device " + std::to_string(a) + " (" + registry_.Address(a) + ")";
    if (channel >= 0) where += (where.empty() ? "" : " ") + ("channel " + std::to_string(channel));
    if (cell >= 0) where += (where.empty() ? "" : " ") + ("cell " + std::to_string(cell));
    return where;
}

void CDvrManager::SetRecordDirectory(const std::string& directory) {
    registry_.SetRecordDirectory(directory);
    slots_.SetRecordDirectory(directory);
}

int CDvrManager::AddDvr(const std::string& address, const std::string& port_text,
                        const std::string& user, const std::string& password,
                        const std::string& show_name) {
    return registry_.AddDvr(address, port_text, user, password, show_name);
}

int CDvrManager::DeleteDvr(int a) {
    if (!IsDevice(a)) return -1;
    for (int i = 0; i < GetDvrCount(); ++i)
        DisconnectDvr(i);
    registry_.DeleteDvr(a);
    ClearWindowMap();
    return 1;
}

int CDvrManager::GetDvr(int a, _DVR_SETTINGS_& out) { return registry_.GetDvr(a, out); }

int CDvrManager::UpdateDvr(int a, const _DVR_SETTINGS_& settings,
                           const std::string& record_directory) {
    if (registry_.UpdateDvr(a, settings) < 0) return -1;
    SetRecordDirectory(record_directory);
    ApplyNetParameter(a);
    return 1;
}

_DVR_MACHINE_INFO_ CDvrManager::GetMachineInfo(int a) {
    if (!IsDevice(a)) {
        _DVR_MACHINE_INFO_ none{};
        none.nLinkState = kLinkLost;
        return none;
    }
    return slots_.Connection(a).GetMachineInfe();
}

int CDvrManager::GetDvrMacPara(int a, NET_MAC_SET_PARA* para) {
    return IsDevice(a) ? slots_.Connection(a).GetDvrMacPara(para) : -1;
}

int CDvrManager::SetDvrMacPara(int a, const NET_MAC_SET_PARA* para) {
    return IsDevice(a) ? slots_.Connection(a).SetDvrMacPara(para) : -1;
}

int CDvrManager::RequestDiskInfo(int a) {
    return IsDevice(a) ? slots_.Connection(a).GetMachineDiskInfo() : -1;
}

int CDvrManager::RequestLedInfo(int a) {
    return IsDevice(a) ? slots_.Connection(a).GetMachineLedInfo() : -1;
}

int CDvrManager::RequestKeyFrame(int a) {
    return IsSlot(a) ? slots_.Connection(a).CreateNetKeyFrame() : -1;
}

int CDvrManager::ResetDvrNetwork(int a) {
    return IsSlot(a) ? slots_.Connection(a).ResetNetWork() : -1;
}

// 1 whatever became of the command, as the callers expect; the diagnostic log tells.
int CDvrManager::SendCommand(int a, const _NET_COMMAND_& command) {
    if (!IsSlot(a)) return 1;
    const auto where = [&] {
        return DiagWhere(a, command.nCommand == kNetCommandPtz ? command.nChannel : -1);
    };
    const int32_t level = slots_.Connection(a).GetMachineInfe().nUserLevel;
    if (level != kSuperUserLevel) {
        EngineDiag(spdlog::level::warn, where,
                   "command {} (code {}) refused: the user's level is {}, commands are for the "
                   "super user",
                   command.nCommand, command.nSubCode, level);
        return 1;
    }
    if (const int sent = slots_.Connection(a).SendNetCommand(command); sent < 0) {
        EngineDiag(spdlog::level::warn, where, "command {} (code {}) not sent: {}",
                   command.nCommand, command.nSubCode, sent);
    }
    return 1;
}

int CDvrManager::SendPtzCommand(int code, int channel, int action, int a) {
    if (a < 0) {
        const int key = GetWindowChannel(channel);
        if (key < 0) return 1;
        a = KeyDevice(key);
        channel = KeyChannel(key);
    }
    return SendCommand(a, {kNetCommandPtz, code, channel, action, 0});
}

int CDvrManager::SendEscKey(int a) { return SendCommand(a, {kNetCommandKey, kKeyEsc, 0, 0, 0}); }

int CDvrManager::SendRecKey(int a) { return SendCommand(a, {kNetCommandKey, kKeyRec, 0, 0, 0}); }

int CDvrManager::StartRecord(int a) {
    if (!IsSlot(a)) return -1;
    slots_.StartRecording(a);
    RefreshLiveViews();
    return 1;
}

int CDvrManager::StopRecord(int a) {
    if (!IsSlot(a)) return -1;
    if (!slots_.StopRecording(a)) return 1;
    RefreshLiveViews();
    return 1;
}

int CDvrManager::IsRecording(int a) const { return IsSlot(a) && slots_.Recording(a) ? 1 : 0; }

void CDvrManager::SetPasswords(const std::string& admin, const std::string& user, int flag) {
    registry_.SetPasswords(admin, user, flag);
}

int CDvrManager::LoadUserStore() {
    const int result = registry_.LoadUserStore();
    SetRecordDirectory(registry_.RecordDirectory());
    return result;
}

int CDvrManager::SaveUserStore() { return registry_.SaveUserStore(); }
