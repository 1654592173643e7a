#include "TimelineSlots.h"

int CTimelineSlots::AddSegment(std::time_t start, std::time_t end, int row, int mday) {
    if (row < 0 || row >= kRows) return -1;
    std::tm broken{};
    // Record times are the recorder's wall clock: no time-zone shift.
    if (start < 0 || gmtime_r(&start, &broken) == nullptr) return 0;
    if (broken.tm_mday != mday) return 0;
    day_base_ = start - (broken.tm_hour * 60 + broken.tm_min) * 60 - broken.tm_sec;

    const std::time_t s = start - day_base_;
    const std::time_t e = end - day_base_;
    for (int k = 0; k < kSlots; ++k) {
        const std::time_t a = static_cast<std::time_t>(kSlot_s) * k;
        const std::time_t b = a + kSlot_s;
        const bool slot_begins_inside = s <= a && a < e;
        const bool starts_in_slot = a <= s && s < b;
        const bool ends_in_slot = a <= e && e < b;
        if (slot_begins_inside || starts_in_slot || ends_in_slot) slots_[row][k] = 1;
    }
    return kDay_s;
}

void CTimelineSlots::Clear() {
    for (auto& row : slots_)
        row.fill(0);
}

void CTimelineSlots::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum;
}

int CTimelineSlots::PosToSeconds(int position) const {
    // An empty range has no seconds to spread; the division would give infinity.
    if (maximum_ == minimum_) return 0;
    return static_cast<int>(static_cast<double>(position) / (maximum_ - minimum_) * kDay_s);
}

int CTimelineSlots::SecondsToPos(std::time_t t) const {
    return static_cast<int>(static_cast<double>(maximum_ - minimum_) *
                            static_cast<double>(t - day_base_) * kDayFraction);
}
