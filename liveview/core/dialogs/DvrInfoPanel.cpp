#include "liveview/core/dialogs/DvrInfoPanel.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

#include "common/settings/LanguageSelect.h"

int LedWordOf(int32_t low, int32_t high) {
    return static_cast<int>(static_cast<uint32_t>(low) | static_cast<uint32_t>(high) << 8);
}

bool IsLampLit(int led_word, int bit) { return (static_cast<uint32_t>(led_word) >> bit & 1) != 0; }

RecButtonChange RecButtonFor(int led_word, bool has_disk) {
    if (IsLampLit(led_word, kRecordLampBit)) return RecButtonChange::kDisable;
    return has_disk ? RecButtonChange::kEnable : RecButtonChange::kKeep;
}

int ListedDiskCount(int32_t disk_count) { return std::clamp<int32_t>(disk_count, 0, kDvrMaxDisks); }

std::string DiskEntryText(int index) { return "DISK " + std::to_string(index); }

std::vector<std::string> DiskLines(const LanguageSelect& texts, const _DVR_DISK_INFO_& disk) {
    return {
        texts.Text("Info_word1") + ":" + std::to_string(disk.nSizeMB / 1024) + "G",
        texts.Text("Info_word2") + ":" + std::to_string(disk.nFreePercent) + "%",
        texts.Text("Info_word3") + "  :" + std::to_string(disk.nCoverPercent) + "%",
        texts.Text("Info_word4") + "  :" + std::to_string(disk.nBadBlocks) + "G",
        texts.Text("Info_word5") + ":",
        RecordTimeText(disk.nFirstTime),
        texts.Text("Info_word6") + ":",
        RecordTimeText(disk.nLastTime),
    };
}

std::string RecordTimeText(int32_t seconds) {
    if (seconds < 0) return kNoRecordTime;
    const std::time_t time = seconds;
    std::tm broken{};
    if (gmtime_r(&time, &broken) == nullptr) return kNoRecordTime;
    char text[80];
    std::snprintf(text, sizeof text, "%d/%02d/%02d %02d:%02d:%02d", broken.tm_year + 1900,
                  broken.tm_mon + 1, broken.tm_mday, broken.tm_hour, broken.tm_min, broken.tm_sec);
    return text;
}
