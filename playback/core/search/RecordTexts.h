#pragma once

#include <string>

#include "platform/records/DvrMachineInfo.h"

// How the playback window words dates: style 1 puts the year first, style 2 the day first.
inline constexpr int kDateStyleYearFirst = 1;
inline constexpr int kDateStyleDayFirst = 2;

// Style 1 for the settings value "chinese" exactly, else style 2.
int DateStyleFor(const std::string& language);

// year -1 gives the time of day with seconds; any other year a date with hours and minutes,
// day first for style 2, year first for every other style.
std::string FormatRecordTime(int date_style, int year, int month, int day, int hour, int minute,
                             int second);

// " earliest - latest " over the recorder's disks, as the recorder's clock shows them, or
// " No Disk! " when it has none.
std::string RecordRangeText(const _DVR_MACHINE_INFO_& info, int date_style);

// Cameras of a recorder from its type code.
int ChannelCountOf(int type_code);
