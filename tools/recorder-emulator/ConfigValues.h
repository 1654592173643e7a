#pragma once

#include "tools/recorder-emulator/RecorderConfig.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// Strict readers of the emulator's config values: each returns nothing on any text that is
// not entirely a valid value, so a typing error is reported instead of read as 0.

// Decimal, or hexadecimal with 0x.
std::optional<int64_t> ParseInteger(const std::string& text);

// "h264", "mpeg4" (any case) or a codec word as a number.
std::optional<int32_t> ParseCodecWord(const std::string& text);

// "name:password:level" separated by commas (so neither may hold ':' or ','); levels 0..2, names
// unique and non-empty.
std::optional<std::vector<UserAccount>> ParseUsers(const std::string& text);

// One value for every channel ("2") or one per channel ("2,2,0,0").
std::optional<std::vector<int>> ParsePerChannel(const std::string& text, int channel_count);

// More recordings a day than any list would page through in reasonable time.
constexpr size_t kMaxScheduleRecords = 20000;

// Recordings separated by ';': "HH:MM-HH:MM/mask" (also HH:MM:SS; 24:00 ends the day), optionally
// "@period_sxlength_s" to cut the span into recordings of length_s every period_s ("08:00-20:00/0xf
// @240x180").
std::optional<std::vector<RecordSegment>> ParseSchedule(const std::string& text);

// "YYYY-MM-DD..YYYY-MM-DD" as day numbers, or "N" = the N days up to today.
std::optional<std::pair<int64_t, int64_t>> ParseRecordDays(const std::string& text, int64_t today);
