#include "playback/core/search/TimelineSlots.h"

#include <algorithm>

int CTimelineSlots::AddSegment(std::time_t start, std::time_t end, int row, int mday) {
    if (row < 0 || row >= kRows) return -1;
    std::tm broken{};
    // Record times are the recorder's wall clock: no time-zone shift.
    if (start < 0 || gmtime_r(&start, &broken) == nullptr) return 0;
    if (broken.tm_mday != mday) return 0;
    day_base_ = start - (broken.tm_hour * 60 + broken.tm_min) * 60 - broken.tm_sec;

    // A slot is marked when it begins inside the record, or the record starts or ends in it:
    // every slot the closed span from s to e touches, found without visiting the others.
    const std::time_t s = start - day_base_;
    const std::time_t e = end - day_base_;
    const auto slot_of = [](std::time_t t) { return static_cast<int>(t / kSlot_s); };
    const auto mark = [this, row](int k) {
        if (k >= 0 && k < kSlots) slots_[row][k] = 1;
    };
    mark(slot_of(s));
    if (e >= 0 && e < kDay_s) mark(slot_of(e));
    if (e > s) {
        const int last = slot_of(std::min<std::time_t>(e, kDay_s - 1));
        for (int k = slot_of(s) + 1; k <= last; ++k)
            mark(k);
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
    // Whole numbers throughout: position / range in floating point lies a hair below the exact
    // fraction for most positions, which put many minutes one second early (13 -> 779 s).
    return static_cast<int>(static_cast<long long>(position) * kDay_s / (maximum_ - minimum_));
}

int CTimelineSlots::SecondsToPos(std::time_t t) const {
    return static_cast<int>(static_cast<double>(maximum_ - minimum_) *
                            static_cast<double>(t - day_base_) * kDayFraction);
}
