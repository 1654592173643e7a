#include "liveview/manager/DvrRegistry.h"

CDvrRegistry::CDvrRegistry(std::string store_path) : store_(std::move(store_path)) {
    const UserStoreContent first_start;
    record_directory_ = first_start.record_directory;
    admin_password_ = first_start.admin_password;
    user_password_ = first_start.user_password;
    password_on_ = first_start.password_on;
}

void CDvrRegistry::MirrorEntries() {
    for (int a = 0; a < kMaxDvrs; ++a) {
        channel_masks_[a].store(devices_.Entry(a).settings.channel_mask, std::memory_order_relaxed);
    }
    count_.store(devices_.GetDvrCount(), std::memory_order_relaxed);
}

int CDvrRegistry::AddDvr(const std::string& address, const std::string& port_text,
                         const std::string& user, const std::string& password,
                         const std::string& show_name) {
    std::lock_guard lock(entries_mutex_);
    const int result = devices_.AddDvr(address, port_text, user, password, show_name);
    MirrorEntries();
    return result;
}

int CDvrRegistry::DeleteDvr(int a) {
    std::lock_guard lock(entries_mutex_);
    const int result = devices_.DeleteDvr(a);
    MirrorEntries();
    return result;
}

int CDvrRegistry::GetDvr(int a, _DVR_SETTINGS_& out) const {
    std::lock_guard lock(entries_mutex_);
    return devices_.GetDvr(a, out);
}

int CDvrRegistry::UpdateDvr(int a, const _DVR_SETTINGS_& settings) {
    std::lock_guard lock(entries_mutex_);
    const int result = devices_.UpdateDvr(a, settings);
    MirrorEntries();
    return result;
}

std::string CDvrRegistry::Address(int a) const {
    std::lock_guard lock(entries_mutex_);
    return devices_.Entry(a).settings.address;
}

int CDvrRegistry::LoadUserStore() {
    UserStoreContent content = StoreContent();
    const UssLoadStatus status = store_.Load(content);
    damaged_store_copy_ = store_.KeepDamagedCopy();
    {
        std::lock_guard lock(entries_mutex_);
        devices_ = content.devices;
        MirrorEntries();
    }
    record_directory_ = content.record_directory;
    admin_password_ = content.admin_password;
    user_password_ = content.user_password;
    password_on_ = content.password_on;
    window_map_.Assign(content.window_map);
    return IsLoaded(status) ? 1 : -1;
}

int CDvrRegistry::SaveUserStore() { return store_.Save(StoreContent()); }

void CDvrRegistry::SetPasswords(const std::string& admin, const std::string& user, int flag) {
    admin_password_ = admin;
    user_password_ = user;
    password_on_ = flag;
}

UserStoreContent CDvrRegistry::StoreContent() const {
    UserStoreContent content;
    content.devices = devices_;
    content.record_directory = record_directory_;
    content.admin_password = admin_password_;
    content.user_password = user_password_;
    content.password_on = password_on_;
    content.window_map = window_map_.Snapshot();
    return content;
}
