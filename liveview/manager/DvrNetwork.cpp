#include <chrono>
#include <new>
#include <optional>
#include <system_error>

#include "liveview/core/store/DvrAddress.h"
#include "liveview/manager/DvrManager.h"
#include "platform/net/Ipv4Resolve.h"

namespace {

constexpr auto kDisconnectSettle = std::chrono::milliseconds(100);

}  // namespace

int CDvrManager::StartDvrNetwork(int a) {
    if (!IsSlot(a)) return -1;
    Slot& slot = slots_[a];
    // Started once; the network and thread of a slot live until Shutdown.
    if (slot.running.load(std::memory_order_relaxed) == 1) return 1;
    {
        std::lock_guard closing(connect_mutex_);
        if (closed_) return -1;
    }
    slot.picture.reset();
    slot.payload.reset();
    bool started = false;
    {
        std::unique_lock cell = cells_.Hold(a);
        std::lock_guard lock(lock_);
        slot.picture = AllocateBuffer(kPictureBytes);
        if (slot.picture) slot.payload = AllocateBuffer(kPayloadBytes);
        if (slot.picture && slot.payload) {
            // The cell may show another device's channel: its stream goes on undisturbed.
            cells_.Pair(a).OpenUnopened(kFullWidth, kFullHeight576);
            started = connections_[a].InitNetWork() >= 0;
        }
    }
    if (started) {
        slot.running.store(1, std::memory_order_relaxed);
        try {
            slot.thread = std::thread(FrameThreadProc, std::ref(*this), a);
        } catch (const std::system_error&) {
            started = false;
        }
    }
    if (!started) {
        // The whole network layer goes down, as at shutdown; each slot builds its own again
        // at its next start.
        StopAllNetworks();
        stopping_.store(false, std::memory_order_relaxed);
        return -1;
    }
    return 1;
}

std::unique_ptr<uint8_t[]> CDvrManager::AllocateBuffer(std::size_t size_bytes) const {
    if (allocate_buffer_) return allocate_buffer_(size_bytes);
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[size_bytes]());
}

void CDvrManager::StopAllNetworks() {
    StopFrameThreads();
    for (NetCtrl& connection : connections_)
        connection.StopNetWork();
    for (Slot& slot : slots_) {
        slot.payload.reset();
        slot.picture.reset();
    }
}

void CDvrManager::StopFrameThreads() {
    stopping_.store(true, std::memory_order_relaxed);
    for (std::size_t a = 0; a < slots_.size(); ++a) {
        slots_[a].running.store(0, std::memory_order_relaxed);
        connections_[a].WakePicWaiters();
    }
    for (Slot& slot : slots_) {
        if (slot.thread.joinable()) slot.thread.join();
    }
}

int CDvrManager::ConnectDvr(int a) {
    {
        std::lock_guard lock(connect_mutex_);
        if (closed_) return -1;
        ++connect_calls_;
    }
    struct Leave {
        CDvrManager& manager;
        ~Leave() {
            std::lock_guard lock(manager.connect_mutex_);
            --manager.connect_calls_;
            manager.connect_done_.notify_all();
        }
    } leave{*this};

    _DVR_SETTINGS_ entry;
    if (GetDvr(a, entry) < 0) return -1;
    const std::optional<DvrAddress> address = ParseDvrAddress(entry.address);
    if (!address) return -1;

    std::string host = address->host;
    int port = address->port;
    if (address->via_lookup) {
        std::string server = address->host;
        if (NeedsHostLookup(server)) {
            if (std::optional<std::string> resolved = ResolveIpv4Text(server)) server = *resolved;
        }
        int found;
        {
            std::lock_guard lookup(lookup_mutex_);
            found = lookup_.Lookup(server, lookup_port_, address->device_name);
            host = lookup_.Address();
            port = lookup_.Port();
        }
        if (found < 0) {
            ShowMessage(found == kLookupNotOnline ? "Dvr is not online!\n"
                                                  : "Can't connect server!\n");
            return -1;
        }
    }
    const int result = connections_[a].ConnectToServer(host.c_str(), port, entry.user.c_str(),
                                                       entry.password.c_str());
    if (result >= 0) StartLiveView(a);
    return result;
}

int CDvrManager::DisconnectDvr(int a) {
    if (!IsSlot(a)) return -1;
    StopRecord(a);
    connections_[a].DisConnect();
    std::this_thread::sleep_for(kDisconnectSettle);
    connections_[a].ResetNetWork();
    return 1;
}

int CDvrManager::Shutdown() {
    {
        std::lock_guard lock(connect_mutex_);
        if (shut_down_) return 1;
        shut_down_ = true;
        closed_ = true;
    }
    // Connect threads asking the lookup server come back now, not after its time-outs.
    lookup_.Abort();
    const int saved = SaveUserStore();
    for (int a = 0; a < kMaxDvrs; ++a) {
        StopRecord(a);
        StopLiveView(a);
    }
    StopAllNetworks();
    return saved < 0 ? -1 : 1;
}
