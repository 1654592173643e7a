#include "tools/recorder-emulator/DayKey.h"

namespace {

bool IsLeap(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int64_t year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

}  // namespace

// Howard Hinnant's days-from-civil, exact for the proleptic Gregorian calendar.
int64_t DayNumberOf(const CivilDate& date) {
    const int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t mp = (date.month + 9) % 12;
    const int64_t doy = (153 * mp + 2) / 5 + date.day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

CivilDate DateOfDayNumber(int64_t day_number) {
    const int64_t z = day_number + 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return CivilDate{static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

std::optional<int64_t> DayNumberOfKey(int64_t key) {
    if (key < 0) return std::nullopt;
    const int64_t year = 1900 + key / 10000;
    const int month = static_cast<int>(key / 100 % 100) + 1;
    const int day = static_cast<int>(key % 100);
    if (year > 9999 || month > 12 || day < 1 || day > DaysInMonth(year, month)) {
        return std::nullopt;
    }
    return DayNumberOf(CivilDate{static_cast<int>(year), month, day});
}

int64_t KeyOfDayNumber(int64_t day_number) {
    const CivilDate d = DateOfDayNumber(day_number);
    return static_cast<int64_t>(d.year - 1900) * 10000 + (d.month - 1) * 100 + d.day;
}
