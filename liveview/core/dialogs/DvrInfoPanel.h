#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/records/DvrMachineInfo.h"

class LanguageSelect;

// What the recorder info dialog shows of a recorder's state: its disks, one at a time, and the
// nine front-panel lamps of the lamp word.

// One lamp: its label (language key, 50 x 18 at the label's place) and its circle, in the
// dialog's pixels, and the bit of the lamp word that lights it.
struct LampSpec {
    int label_id;
    const char* label_key;
    int label_x;
    int label_y;
    int left;
    int top;
    int right;
    int bottom;
    int bit;
};

inline constexpr std::array<LampSpec, 9> kLamps = {{
    {1088, "Info_show1", 25, 280, 26, 300, 51, 325, 0},     // alarm
    {1089, "Info_show2", 80, 280, 76, 300, 101, 325, 1},    // PTZ
    {1090, "Info_show3", 130, 280, 126, 300, 151, 325, 2},  // sequence
    {1096, "Info_show4", 25, 330, 26, 350, 51, 375, 8},     // infrared
    {1092, "Info_show5", 80, 330, 76, 350, 101, 375, 4},    // play
    {1093, "Info_show6", 130, 330, 126, 350, 151, 375, 5},  // record
    {1094, "Info_show7", 25, 380, 26, 400, 51, 425, 6},     // power
    {1095, "Info_show8", 80, 380, 76, 400, 101, 425, 7},    // lock
    {1091, "Info_show9", 130, 380, 126, 400, 151, 425, 3},  // network
}};

inline constexpr int kRecordLampBit = 5;

// The lamp word: the low lamp byte, and the high one above it.
int LedWordOf(int32_t low, int32_t high);
bool IsLampLit(int led_word, int bit);

// What a new lamp word does to the REC button: a lit record lamp disables it; otherwise a disk
// in the list enables it; with no disk it stays as it was.
enum class RecButtonChange { kDisable, kEnable, kKeep };
RecButtonChange RecButtonFor(int led_word, bool has_disk);

// How many of the disk records a state snapshot holds are listed: at most 8, none for a count
// below 1.
int ListedDiskCount(int32_t disk_count);

// "DISK %d" of a list position, from 0.
std::string DiskEntryText(int index);

// The selected disk's lines: size, free and cover rate, bad blocks, earliest and latest
// record time.
std::vector<std::string> DiskLines(const LanguageSelect& texts, const _DVR_DISK_INFO_& disk);

// A record time (seconds since 1970, as the recorder's clock gives it) broken down as UTC;
// a time before 1970 has no such breakdown and shows as a placeholder.
std::string RecordTimeText(int32_t seconds);
inline constexpr const char* kNoRecordTime = "----/--/-- --:--:--";
