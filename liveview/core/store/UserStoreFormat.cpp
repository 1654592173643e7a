#include "liveview/core/store/UserStoreFormat.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "liveview/core/store/Scramble.h"
#include "liveview/core/store/UssLayout.h"
#include "platform/text/Utf8Cut.h"

namespace {

template <std::size_t N>
void WriteText(char (&field)[N], const std::string& text) {
    const std::string_view fitting = Utf8Cut(text, N - 1);
    std::memcpy(field, fitting.data(), fitting.size());
    field[fitting.size()] = '\0';
}

// Cut before scrambling: the scramble reverses the text, and the field must keep its start.
template <std::size_t N>
void WriteScrambled(char (&field)[N], const std::string& text) {
    WriteText(field, text);
    ScrambleString(field, static_cast<int>(std::strlen(field)));
}

template <std::size_t N>
std::string ReadText(const char (&field)[N], bool& repaired) {
    const std::size_t length = strnlen(field, N);
    if (length < N) return std::string(field, length);
    repaired = true;
    return std::string(Utf8Cut(std::string_view(field, N), N - 1));
}

template <std::size_t N>
std::string ReadScrambled(const char (&field)[N], bool& repaired) {
    const std::size_t length = strnlen(field, N);
    std::string text(field, length < N ? length : N - 1);
    if (length == N) repaired = true;
    UnscrambleString(text.data(), static_cast<int>(text.size()));
    return text;
}

void WriteRecord(_USS_DVR_RECORD_& record, const _DVR_ENTRY_& entry) {
    const _DVR_SETTINGS_& settings = entry.settings;
    WriteText(record.szAddress, settings.address);
    WriteText(record.szPort, settings.port_text);
    WriteScrambled(record.szUser, settings.user);
    WriteScrambled(record.szPassword, settings.password);
    WriteText(record.szShowName, settings.show_name);
    record.bInUse = settings.in_use == 1 ? 1 : 0;
    record.nChannelMask = settings.channel_mask;
    record.nFrameRateIndex = settings.frame_rate_index;
    record.nQualityIndex = settings.quality_index;
    record.nSendAudio = settings.send_audio;
    record.nAutoConnect = settings.auto_connect;
    std::memcpy(record.map_points, entry.map_points.data(), sizeof(record.map_points));
}

_DVR_ENTRY_ ReadRecord(const _USS_DVR_RECORD_& record, bool& repaired) {
    _DVR_ENTRY_ entry;
    _DVR_SETTINGS_& settings = entry.settings;
    settings.address = ReadText(record.szAddress, repaired);
    settings.port_text = ReadText(record.szPort, repaired);
    settings.user = ReadScrambled(record.szUser, repaired);
    settings.password = ReadScrambled(record.szPassword, repaired);
    settings.show_name = ReadText(record.szShowName, repaired);
    settings.in_use = record.bInUse == 1 ? 1 : 0;
    if (record.bInUse > 1) repaired = true;
    settings.channel_mask = record.nChannelMask;
    settings.frame_rate_index = record.nFrameRateIndex;
    settings.quality_index = record.nQualityIndex;
    settings.send_audio = record.nSendAudio;
    settings.auto_connect = record.nAutoConnect;
    std::memcpy(entry.map_points.data(), record.map_points, sizeof(record.map_points));
    return entry;
}

}  // namespace

std::vector<uint8_t> EncodeUserStore(const UserStoreContent& content) {
    // Zeroed first, so the bytes after each terminator are zero rather than old text.
    auto file = std::make_unique<_USS_FILE_>();
    for (int slot = 0; slot < CDvrList::kMaxDvrs; ++slot) {
        WriteRecord(file->records[slot], content.devices.Entry(slot));
    }
    WriteText(file->szRecordDirectory, content.record_directory);
    WriteScrambled(file->szAdminPassword, content.admin_password);
    WriteScrambled(file->szUserPassword, content.user_password);
    file->bPasswordOn = content.password_on == 1 ? 1 : 0;
    std::memcpy(file->window_map, content.window_map.data(), sizeof(file->window_map));

    std::vector<uint8_t> bytes(kUssFileBytes);
    std::memcpy(bytes.data(), file.get(), kUssFileBytes);
    return bytes;
}

UssLoadStatus DecodeUserStore(std::span<const uint8_t> bytes, UserStoreContent& out) {
    auto file = std::make_unique<_USS_FILE_>();
    std::memcpy(file.get(), bytes.data(), std::min(bytes.size(), kUssFileBytes));
    // The parts are taken in the order they lie; a part cut short ends the load, and what came
    // before it stays taken. Each part ends where the next begins.
    const auto cut_before = [&](std::size_t end) { return bytes.size() < end; };
    bool repaired = false;
    if (cut_before(offsetof(_USS_FILE_, szRecordDirectory))) return UssLoadStatus::kShortFile;
    std::array<_DVR_ENTRY_, CDvrList::kMaxDvrs> entries;
    for (int slot = 0; slot < CDvrList::kMaxDvrs; ++slot)
        entries[slot] = ReadRecord(file->records[slot], repaired);
    out.devices = CDvrList::FromStore(entries);
    if (cut_before(offsetof(_USS_FILE_, szAdminPassword))) return UssLoadStatus::kShortFile;
    out.record_directory = ReadText(file->szRecordDirectory, repaired);
    if (cut_before(offsetof(_USS_FILE_, szUserPassword))) return UssLoadStatus::kShortFile;
    out.admin_password = ReadScrambled(file->szAdminPassword, repaired);
    if (cut_before(offsetof(_USS_FILE_, bPasswordOn))) return UssLoadStatus::kShortFile;
    out.user_password = ReadScrambled(file->szUserPassword, repaired);
    if (cut_before(offsetof(_USS_FILE_, window_map))) return UssLoadStatus::kShortFile;
    out.password_on = file->bPasswordOn == 1 ? 1 : 0;
    if (cut_before(kUssFileBytes)) return UssLoadStatus::kShortFile;
    std::memcpy(out.window_map.data(), file->window_map, sizeof(file->window_map));
    return repaired ? UssLoadStatus::kRepaired : UssLoadStatus::kLoaded;
}
