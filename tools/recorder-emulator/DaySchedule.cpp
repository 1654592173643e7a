#include "tools/recorder-emulator/DaySchedule.h"

#include <algorithm>

DaySchedule::DaySchedule(const std::vector<RecordSegment>& segments, int64_t first_day,
                         int64_t last_day, int channel_count)
    : first_day_(first_day), last_day_(last_day) {
    const uint32_t channels = channel_count >= 32 ? 0xffffffffu : (1u << channel_count) - 1;
    for (RecordSegment s : segments) {
        s.channel_mask &= channels;
        s.start_s = std::clamp(s.start_s, 0, kSecondsPerDay);
        s.end_s = std::clamp(s.end_s, 0, kSecondsPerDay);
        if (s.channel_mask != 0 && s.start_s < s.end_s) segments_.push_back(s);
    }
    std::stable_sort(
        segments_.begin(), segments_.end(),
        [](const RecordSegment& a, const RecordSegment& b) { return a.start_s < b.start_s; });
}

bool DaySchedule::IsRecordedDay(int64_t day_number) const {
    return day_number >= first_day_ && day_number <= last_day_;
}

std::vector<RecordEntry> DaySchedule::RecordsOfDay(int64_t day_number) const {
    std::vector<RecordEntry> records;
    if (!IsRecordedDay(day_number)) return records;
    const int64_t midnight = day_number * kSecondsPerDay;
    records.reserve(segments_.size());
    for (const RecordSegment& s : segments_) {
        records.push_back({s.channel_mask, midnight + s.start_s, midnight + s.end_s});
    }
    return records;
}

int DaySchedule::PageCount(size_t record_count) {
    return static_cast<int>((record_count + kRecordsPerPage - 1) / kRecordsPerPage);
}

std::span<const RecordEntry> DaySchedule::Page(const std::vector<RecordEntry>& records, int page) {
    if (page < 0) return {};
    const size_t first = static_cast<size_t>(page) * kRecordsPerPage;
    if (first >= records.size()) return {};
    return std::span(records).subspan(first,
                                      std::min<size_t>(kRecordsPerPage, records.size() - first));
}

uint32_t DaySchedule::ChannelsRecordingAt(int64_t day_number, int64_t t, uint32_t mask) const {
    if (!IsRecordedDay(day_number)) return 0;
    const int64_t second = t - day_number * kSecondsPerDay;
    uint32_t channels = 0;
    for (const RecordSegment& s : segments_) {
        if (s.start_s <= second && second < s.end_s) channels |= s.channel_mask;
    }
    return channels & mask;
}

std::optional<int64_t> DaySchedule::NextRecordedTime(int64_t day_number, int64_t t, int64_t end,
                                                     uint32_t mask) const {
    if (!IsRecordedDay(day_number)) return std::nullopt;
    const int64_t midnight = day_number * kSecondsPerDay;
    std::optional<int64_t> best;
    for (const RecordSegment& s : segments_) {
        if ((s.channel_mask & mask) == 0 || midnight + s.end_s <= t) continue;
        const int64_t from = std::max<int64_t>(t, midnight + s.start_s);
        if (from < end && (!best || from < *best)) best = from;
    }
    return best;
}

int64_t DaySchedule::EarliestTime() const {
    if (segments_.empty() || first_day_ > last_day_) return 0;
    return first_day_ * kSecondsPerDay + segments_.front().start_s;
}

int64_t DaySchedule::LatestTime() const {
    if (segments_.empty() || first_day_ > last_day_) return 0;
    int end_s = 0;
    for (const RecordSegment& s : segments_)
        end_s = std::max(end_s, s.end_s);
    return last_day_ * kSecondsPerDay + end_s;
}
