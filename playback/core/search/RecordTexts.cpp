#include "playback/core/search/RecordTexts.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

std::string FormatUtc(std::time_t t, int date_style) {
    std::tm broken{};
    if (gmtime_r(&t, &broken) == nullptr) return {};
    return FormatRecordTime(date_style, broken.tm_year + 1900, broken.tm_mon + 1, broken.tm_mday,
                            broken.tm_hour, broken.tm_min, broken.tm_sec);
}

}  // namespace

int DateStyleFor(const std::string& language) {
    return language == "chinese" ? kDateStyleYearFirst : kDateStyleDayFirst;
}

std::string FormatRecordTime(int date_style, int year, int month, int day, int hour, int minute,
                             int second) {
    char text[64];
    if (year == -1) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
    } else if (date_style == kDateStyleDayFirst) {
        std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", day, month, year, hour,
                      minute);
    } else {
        std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d", year, month, day, hour,
                      minute);
    }
    return text;
}

std::string RecordRangeText(const _DVR_MACHINE_INFO_& info, int date_style) {
    // The count comes from the recorder: only the records that exist are read.
    const int disks = std::min(info.nDiskCount, kDvrMaxDisks);
    if (disks <= 0) return " No Disk! ";
    std::time_t earliest = info.disk[0].nFirstTime;
    std::time_t latest = info.disk[0].nLastTime;
    for (int i = 1; i < disks; ++i) {
        earliest = std::min<std::time_t>(earliest, info.disk[i].nFirstTime);
        latest = std::max<std::time_t>(latest, info.disk[i].nLastTime);
    }
    return " " + FormatUtc(earliest, date_style) + " - " + FormatUtc(latest, date_style) + " ";
}

int ChannelCountOf(int type_code) {
    return (type_code < 1001 ? type_code : type_code - 1000) % 100;
}
