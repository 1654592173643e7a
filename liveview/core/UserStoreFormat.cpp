#include "UserStoreFormat.h"

#include <array>
#include <cstring>
#include <memory>
#include <string_view>

#include "Scramble.h"
#include "UssLayout.h"
#include "Utf8Cut.h"

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
    WriteText(record.szPort, settings.portText);
    WriteScrambled(record.szUser, settings.user);
    WriteScrambled(record.szPassword, settings.password);
    WriteText(record.szShowName, settings.showName);
    record.bInUse = settings.inUse == 1 ? 1 : 0;
    record.nChannelMask = settings.channelMask;
    record.nFrameRateIndex = settings.frameRateIndex;
    record.nQualityIndex = settings.qualityIndex;
    record.nSendAudio = settings.sendAudio;
    record.nAutoConnect = settings.autoConnect;
    std::memcpy(record.mapPoints, entry.mapPoints.data(), sizeof(record.mapPoints));
}

_DVR_ENTRY_ ReadRecord(const _USS_DVR_RECORD_& record, bool& repaired) {
    _DVR_ENTRY_ entry;
    _DVR_SETTINGS_& settings = entry.settings;
    settings.address = ReadText(record.szAddress, repaired);
    settings.portText = ReadText(record.szPort, repaired);
    settings.user = ReadScrambled(record.szUser, repaired);
    settings.password = ReadScrambled(record.szPassword, repaired);
    settings.showName = ReadText(record.szShowName, repaired);
    settings.inUse = 1;
    settings.channelMask = record.nChannelMask;
    settings.frameRateIndex = record.nFrameRateIndex;
    settings.qualityIndex = record.nQualityIndex;
    settings.sendAudio = record.nSendAudio;
    settings.autoConnect = record.nAutoConnect;
    std::memcpy(entry.mapPoints.data(), record.mapPoints, sizeof(record.mapPoints));
    return entry;
}

// Keys follow their device to its packed slot; keys of no device become -1.
CWindowMap::Keys ReadWindowMap(const _USS_FILE_& file,
                               const std::array<int, CDvrList::kMaxDvrs>& packedSlot,
                               bool& repaired) {
    CWindowMap::Keys stored;
    std::memcpy(stored.data(), file.windowMap, sizeof(file.windowMap));
    CWindowMap::Keys keys;
    for (int cell = 0; cell < CWindowMap::kCells; ++cell) {
        const int32_t key = stored[cell];
        int32_t mended = CWindowMap::kNoChannel;
        if (key >= 0 && KeyDevice(key) < CDvrList::kMaxDvrs && packedSlot[KeyDevice(key)] >= 0) {
            mended = MakeChannelKey(packedSlot[KeyDevice(key)], KeyChannel(key));
        }
        if (mended != key) repaired = true;
        keys[cell] = mended;
    }
    return keys;
}

}  // namespace

std::vector<uint8_t> EncodeUserStore(const UserStoreContent& content) {
    // Zeroed first, so the bytes after each terminator are zero rather than old text.
    auto file = std::make_unique<_USS_FILE_>();
    for (int slot = 0; slot < CDvrList::kMaxDvrs; ++slot) {
        WriteRecord(file->records[slot], content.devices.Entry(slot));
    }
    WriteText(file->szRecordDirectory, content.recordDirectory);
    WriteScrambled(file->szAdminPassword, content.adminPassword);
    WriteScrambled(file->szUserPassword, content.userPassword);
    file->bPasswordOn = content.passwordOn == 1 ? 1 : 0;
    std::memcpy(file->windowMap, content.windowMap.data(), sizeof(file->windowMap));

    std::vector<uint8_t> bytes(kUssFileBytes);
    std::memcpy(bytes.data(), file.get(), kUssFileBytes);
    return bytes;
}

UssLoadStatus DecodeUserStore(std::span<const uint8_t> bytes, UserStoreContent& out) {
    if (bytes.size() < kUssFileBytes) return UssLoadStatus::kShortFile;
    auto file = std::make_unique<_USS_FILE_>();
    std::memcpy(file.get(), bytes.data(), kUssFileBytes);

    bool repaired = false;
    UserStoreContent loaded;
    std::array<int, CDvrList::kMaxDvrs> packedSlot;
    for (int slot = 0; slot < CDvrList::kMaxDvrs; ++slot) {
        const _USS_DVR_RECORD_& record = file->records[slot];
        packedSlot[slot] = -1;
        if (record.bInUse != 1) continue;
        packedSlot[slot] = loaded.devices.GetDvrCount();
        if (packedSlot[slot] != slot) repaired = true;
        loaded.devices.AddDvrEntry(ReadRecord(record, repaired));
    }
    loaded.recordDirectory = ReadText(file->szRecordDirectory, repaired);
    loaded.adminPassword = ReadScrambled(file->szAdminPassword, repaired);
    loaded.userPassword = ReadScrambled(file->szUserPassword, repaired);
    loaded.passwordOn = file->bPasswordOn == 1 ? 1 : 0;
    loaded.windowMap = ReadWindowMap(*file, packedSlot, repaired);

    out = std::move(loaded);
    return repaired ? UssLoadStatus::kRepaired : UssLoadStatus::kLoaded;
}
