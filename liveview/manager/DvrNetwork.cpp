#include <chrono>
#include <optional>

#include "liveview/core/store/DvrAddress.h"
#include "liveview/manager/DvrManager.h"
#include "platform/net/Ipv4Resolve.h"

namespace {

constexpr auto kDisconnectSettle = std::chrono::milliseconds(100);

}  // namespace

int CDvrManager::StartDvrNetwork(int a) {
    if (!IsSlot(a)) return -1;
    // Started once; the network and thread of a slot live until Shutdown.
    if (slots_.Running(a)) return 1;
    {
        std::lock_guard closing(connect_mutex_);
        if (closed_) return -1;
    }
    bool started = false;
    {
        std::unique_lock cell = cells_.Hold(a);
        std::lock_guard lock(lock_);
        if (slots_.AllocateBuffers(a)) {
            // The cell may show another device's channel: its stream goes on undisturbed.
            cells_.Pair(a).OpenUnopened(kFullWidth, kFullHeight576);
            started = slots_.StartNetwork(a);
        }
    }
    if (started) started = slots_.Launch(a);
    if (!started) {
        // The whole network layer goes down, as at shutdown; each slot builds its own again
        // at its next start.
        slots_.StopAll();
        slots_.ResumeStarts();
        return -1;
    }
    return 1;
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
    const int result = slots_.Connection(a).ConnectToServer(host.c_str(), port, entry.user.c_str(),
                                                            entry.password.c_str());
    if (result >= 0) StartLiveView(a);
    return result;
}

int CDvrManager::DisconnectDvr(int a) {
    if (!IsSlot(a)) return -1;
    StopRecord(a);
    slots_.Connection(a).DisConnect();
    std::this_thread::sleep_for(kDisconnectSettle);
    slots_.Connection(a).ResetNetWork();
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
    slots_.StopAll();
    return saved < 0 ? -1 : 1;
}
