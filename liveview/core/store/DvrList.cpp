#include "liveview/core/store/DvrList.h"

#include <algorithm>

int CDvrList::AddDvr(const std::string& address, const std::string& port_text,
                     const std::string& user, const std::string& password,
                     const std::string& show_name) {
    _DVR_ENTRY_ entry;
    entry.settings.address = address;
    entry.settings.port_text = port_text;
    entry.settings.user = user;
    entry.settings.password = password;
    entry.settings.show_name = show_name;
    return AddDvrEntry(entry);
}

int CDvrList::AddDvrEntry(const _DVR_ENTRY_& entry) {
    if (count_ >= kMaxDvrs) return -1;
    entries_[count_] = entry;
    entries_[count_].settings.in_use = 1;
    ++count_;
    return 1;
}

CDvrList CDvrList::FromStore(const std::array<_DVR_ENTRY_, kMaxDvrs>& entries) {
    CDvrList list;
    list.entries_ = entries;
    list.count_ = static_cast<int>(std::ranges::count_if(
        entries, [](const _DVR_ENTRY_& entry) { return entry.settings.in_use == 1; }));
    return list;
}

int CDvrList::DeleteDvr(int a) {
    if (!IsValidSlot(a)) return -1;
    std::move(entries_.begin() + a + 1, entries_.end(), entries_.begin() + a);
    entries_.back() = _DVR_ENTRY_{};
    --count_;
    return 1;
}

int CDvrList::GetDvr(int a, _DVR_SETTINGS_& out) const {
    if (!IsValidSlot(a)) return -1;
    out = entries_[a].settings;
    return 1;
}

int CDvrList::UpdateDvr(int a, const _DVR_SETTINGS_& settings) {
    if (!IsValidSlot(a)) return -1;
    entries_[a].settings = settings;
    return 1;
}
