#pragma once

#include <cstdint>
#include <optional>

// Calendar days as the record search names them: key = (year - 1900) * 10000 +
// (month - 1) * 100 + day, so 28 August 2009 is 1090728. Days are counted from 1970-01-01
// on the recorder's clock (UTC calendar, no time zone).

struct CivilDate {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
};

int64_t DayNumberOf(const CivilDate& date);
CivilDate DateOfDayNumber(int64_t day_number);

// The day a key names, or nothing when it names no real date (month 13, 31 April...).
std::optional<int64_t> DayNumberOfKey(int64_t key);
int64_t KeyOfDayNumber(int64_t day_number);
