#pragma once

#include <array>
#include <string>

#include "liveview/core/store/DvrEntry.h"

// The device list: up to 64 entries packed from slot 0. A device's slot is its place in the
// list, so deleting one moves every later device down a slot. Connections, threads and the
// window map are keyed by slot and belong to the owner, which disconnects and clears them
// around a delete.
class CDvrList {
public:
    static constexpr int kMaxDvrs = 64;

    // -1 when the list is full; else the device goes to slot count with the add defaults and
    // default map points, and 1.
    int AddDvr(const std::string& address, const std::string& port_text, const std::string& user,
               const std::string& password, const std::string& show_name);
    // Appends a whole entry, map points included, as a device in use. -1 when full.
    int AddDvrEntry(const _DVR_ENTRY_& entry);
    // The device store's load: every entry stays in its slot as stored, and the count is the
    // number of entries whose in-use byte is 1.
    static CDvrList FromStore(const std::array<_DVR_ENTRY_, kMaxDvrs>& entries);
    // Moves slots a+1..63 down one; the last slot becomes empty. -1 for a bad slot.
    int DeleteDvr(int a);
    // Copies slot a's settings. -1 for a bad slot.
    int GetDvr(int a, _DVR_SETTINGS_& out) const;
    // Replaces slot a's settings, its in-use byte included; its map points stay. -1 for a bad
    // slot.
    int UpdateDvr(int a, const _DVR_SETTINGS_& settings);
    int GetDvrCount() const { return count_; }

    bool IsValidSlot(int a) const { return a >= 0 && a < count_; }
    // Any slot 0..63. Slots from count on are empty, except where a loaded store held records
    // there; they are kept so that the store is saved back as it was.
    const _DVR_ENTRY_& Entry(int slot) const { return entries_.at(slot); }

    bool operator==(const CDvrList&) const = default;

private:
    std::array<_DVR_ENTRY_, kMaxDvrs> entries_{};
    int count_ = 0;
};
