#include "DvrManager.h"

#include <iostream>

#include "NetCommand.h"
#include "UserStoreContent.h"
#include "YuvTables.h"

CDvrManager::CDvrManager() : CDvrManager(DefaultWaveOutBackend(), CUserStore().Path()) {}

CDvrManager::CDvrManager(WaveOutBackend& audio, const std::string& storePath,
                         const DvrManagerOptions& options)
    : lookup_(options.lookupTimeouts),
      lookupPort_(options.lookupPort),
      stereo_(audio),
      mono_(audio),
      connections_([&]<std::size_t... I>(std::index_sequence<I...>) {
          return std::array<NetCtrl, kMaxDvrs>{((void)I, NetCtrl(options.netTimeouts))...};
      }(std::make_index_sequence<kMaxDvrs>())),
      store_(storePath) {
    for (auto& device : preparedDevice_)
        device.store(-1, std::memory_order_relaxed);
    InitYuvTables();
    const UserStoreContent firstStart;
    recordDirectory_ = firstStart.recordDirectory;
    adminPassword_ = firstStart.adminPassword;
    userPassword_ = firstStart.userPassword;
    passwordOn_ = firstStart.passwordOn;
    for (CQmxFile& recorder : recorders_)
        recorder.SetDirectory(recordDirectory_);
    lookup_.Startup();
    stereo_.Open(2);
    mono_.Open(1);
}

CDvrManager::~CDvrManager() {
    {
        std::unique_lock lock(connectMutex_);
        closed_ = true;
    }
    // Log-ins and lookups in progress are cut short so the connect threads come back soon.
    lookup_.Abort();
    for (NetCtrl& connection : connections_)
        connection.StopNetWork();
    StopFrameThreads();
    std::unique_lock lock(connectMutex_);
    connectDone_.wait(lock, [this] { return connectCalls_ == 0; });
    // After the last connect thread: one of them may still have been asking the lookup server.
    lookup_.Cleanup();
}

// The sink may hold its caller until the window thread has shown the message. But Shutdown
// and the destructor wait on the window thread for connect and frame threads, which may be
// inside the sink: so once the window has begun closing, before it calls either, the sink
// must return at once and release the calls already waiting. The manager itself calls it no
// more after that.
void CDvrManager::SetMessageSink(MessageSink sink) {
    std::lock_guard lock(messageMutex_);
    messageSink_ = std::move(sink);
}

void CDvrManager::ShowMessage(const std::string& text) {
    {
        // Once shut down, the window that would show a message is gone or waiting for the
        // connect threads; a box it had to show first would hold both up.
        std::lock_guard closing(connectMutex_);
        if (closed_) return;
    }
    MessageSink sink;
    {
        std::lock_guard lock(messageMutex_);
        sink = messageSink_;
    }
    if (sink) {
        sink(text);
    } else {
        std::cerr << text << std::flush;
    }
}

void CDvrManager::MirrorEntries() {
    for (int a = 0; a < kMaxDvrs; ++a) {
        slots_[a].channelMask.store(devices_.Entry(a).settings.channelMask,
                                    std::memory_order_relaxed);
    }
    count_.store(devices_.GetDvrCount(), std::memory_order_relaxed);
}

int CDvrManager::AddDvr(const std::string& address, const std::string& portText,
                        const std::string& user, const std::string& password,
                        const std::string& showName) {
    std::lock_guard lock(entriesMutex_);
    const int result = devices_.AddDvr(address, portText, user, password, showName);
    MirrorEntries();
    return result;
}

int CDvrManager::DeleteDvr(int a) {
    if (!IsDevice(a)) return -1;
    for (int i = 0; i < GetDvrCount(); ++i)
        DisconnectDvr(i);
    {
        std::lock_guard lock(entriesMutex_);
        devices_.DeleteDvr(a);
        MirrorEntries();
    }
    ClearWindowMap();
    return 1;
}

int CDvrManager::GetDvr(int a, _DVR_SETTINGS_& out) {
    std::lock_guard lock(entriesMutex_);
    return devices_.GetDvr(a, out);
}

int CDvrManager::UpdateDvr(int a, const _DVR_SETTINGS_& settings,
                           const std::string& recordDirectory) {
    {
        std::lock_guard lock(entriesMutex_);
        if (devices_.UpdateDvr(a, settings) < 0) return -1;
        MirrorEntries();
    }
    recordDirectory_ = recordDirectory;
    for (CQmxFile& recorder : recorders_)
        recorder.SetDirectory(recordDirectory_);
    ApplyNetParameter(a);
    return 1;
}

_DVR_MACHINE_INFO_ CDvrManager::GetMachineInfo(int a) {
    if (!IsDevice(a)) {
        _DVR_MACHINE_INFO_ none{};
        none.nLinkState = kLinkLost;
        return none;
    }
    return connections_[a].GetMachineInfe();
}

int CDvrManager::GetDvrMacPara(int a, NET_MAC_SET_PARA* para) {
    return IsDevice(a) ? connections_[a].GetDvrMacPara(para) : -1;
}

int CDvrManager::SetDvrMacPara(int a, const NET_MAC_SET_PARA* para) {
    return IsDevice(a) ? connections_[a].SetDvrMacPara(para) : -1;
}

int CDvrManager::RequestDiskInfo(int a) {
    return IsDevice(a) ? connections_[a].GetMachineDiskInfo() : -1;
}

int CDvrManager::RequestLedInfo(int a) {
    return IsDevice(a) ? connections_[a].GetMachineLedInfo() : -1;
}

int CDvrManager::RequestKeyFrame(int a) {
    return IsSlot(a) ? connections_[a].CreateNetKeyFrame() : -1;
}

int CDvrManager::ResetDvrNetwork(int a) { return IsSlot(a) ? connections_[a].ResetNetWork() : -1; }

int CDvrManager::SendCommand(int a, const _NET_COMMAND_& command) {
    if (!IsSlot(a)) return 1;
    if (connections_[a].GetMachineInfe().nUserLevel == kSuperUserLevel) {
        connections_[a].SendNetCommand(command);
    }
    return 1;
}

int CDvrManager::SendPtzCommand(int code, int channel, int action, int a) {
    if (a < 0) {
        const int key = windowMap_.GetWindowChannel(channel);
        if (key < 0) return 1;
        a = KeyDevice(key);
        channel = KeyChannel(key);
    }
    return SendCommand(a, {kNetCommandPtz, code, channel, action, 0});
}

int CDvrManager::SendEscKey(int a) { return SendCommand(a, {kNetCommandKey, 8, 0, 0, 0}); }

int CDvrManager::SendRecKey(int a) { return SendCommand(a, {kNetCommandKey, 7, 0, 0, 0}); }

int CDvrManager::StartRecord(int a) {
    if (!IsSlot(a)) return -1;
    slots_[a].recording.store(1, std::memory_order_relaxed);
    RefreshLiveViews();
    return 1;
}

int CDvrManager::StopRecord(int a) {
    if (!IsSlot(a)) return -1;
    Slot& slot = slots_[a];
    {
        std::lock_guard lock(slot.recordMutex);
        if (slot.recording.load(std::memory_order_relaxed) != 1) return 1;
        slot.recording.store(0, std::memory_order_relaxed);
        recorders_[a].Close();
    }
    RefreshLiveViews();
    return 1;
}

int CDvrManager::IsRecording(int a) const {
    return IsSlot(a) ? slots_[a].recording.load(std::memory_order_relaxed) : 0;
}

void CDvrManager::SetPasswords(const std::string& admin, const std::string& user, int flag) {
    adminPassword_ = admin;
    userPassword_ = user;
    passwordOn_ = flag;
}

int CDvrManager::LoadUserStore() {
    UserStoreContent content;
    if (!IsLoaded(store_.Load(content))) return -1;
    {
        std::lock_guard lock(entriesMutex_);
        devices_ = content.devices;
        MirrorEntries();
    }
    recordDirectory_ = content.recordDirectory;
    for (CQmxFile& recorder : recorders_)
        recorder.SetDirectory(recordDirectory_);
    adminPassword_ = content.adminPassword;
    userPassword_ = content.userPassword;
    passwordOn_ = content.passwordOn;
    windowMap_.Assign(content.windowMap);
    return 1;
}

int CDvrManager::SaveUserStore() {
    UserStoreContent content;
    content.devices = devices_;
    content.recordDirectory = recordDirectory_;
    content.adminPassword = adminPassword_;
    content.userPassword = userPassword_;
    content.passwordOn = passwordOn_;
    content.windowMap = windowMap_.Snapshot();
    return store_.Save(content);
}
