#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "liveview/core/store/DvrList.h"
#include "liveview/core/store/UserStore.h"
#include "liveview/core/store/UserStoreContent.h"
#include "liveview/core/streaming/WindowMap.h"

// The engine's devices as the user keeps them: the entries, the device store they are loaded
// from and saved to, the record directory, the lock's passwords and the all-devices view's
// window map.
//
// Locks: the window thread is the only writer. The entries are under their own small mutex,
// which connect threads and diagnostic lines take to copy an entry; the count and each
// entry's channel mask are mirrored into atomics for the frame threads; the window map is
// atomic per cell. The directory and the passwords belong to the window thread alone.
class CDvrRegistry {
public:
    static constexpr int kMaxDvrs = CDvrList::kMaxDvrs;

    explicit CDvrRegistry(std::string store_path);

    int AddDvr(const std::string& address, const std::string& port_text, const std::string& user,
               const std::string& password, const std::string& show_name);
    // Moves later devices down a slot; the caller has disconnected them first.
    int DeleteDvr(int a);
    int GetDvr(int a, _DVR_SETTINGS_& out) const;
    int UpdateDvr(int a, const _DVR_SETTINGS_& settings);
    int GetDvrCount() const { return count_.load(std::memory_order_relaxed); }
    bool IsDevice(int a) const { return a >= 0 && a < GetDvrCount(); }
    // The settings of any slot 0..63 (empty past the count); window thread only.
    const _DVR_SETTINGS_& Settings(int a) const { return devices_.Entry(a).settings; }
    // Any thread.
    int32_t ChannelMask(int a) const { return channel_masks_[a].load(std::memory_order_relaxed); }
    std::string Address(int a) const;

    // 1 when the store was loaded, else -1. A short store still gives the parts that lie whole
    // before its cut, its devices among them once every record is there.
    int LoadUserStore();
    int SaveUserStore();
    // Where the last load kept a copy of a store it found short or mended; empty when none.
    const std::string& DamagedStoreCopy() const { return damaged_store_copy_; }
    const std::string& StorePath() const { return store_.Path(); }
    const std::string& RecordDirectory() const { return record_directory_; }
    void SetRecordDirectory(const std::string& directory) { record_directory_ = directory; }

    void SetPasswords(const std::string& admin, const std::string& user, int flag);
    const std::string& AdminPassword() const { return admin_password_; }
    const std::string& UserPassword() const { return user_password_; }
    int PasswordFlag() const { return password_on_; }

    CWindowMap& WindowMap() { return window_map_; }
    const CWindowMap& WindowMap() const { return window_map_; }

private:
    void MirrorEntries();  // entries lock held
    UserStoreContent StoreContent() const;

    mutable std::mutex entries_mutex_;
    CDvrList devices_;
    std::atomic<int> count_{0};
    std::array<std::atomic<int32_t>, kMaxDvrs> channel_masks_{};
    CWindowMap window_map_;
    CUserStore store_;
    std::string damaged_store_copy_;
    std::string record_directory_;
    std::string admin_password_;
    std::string user_password_;
    int password_on_ = 0;
};
