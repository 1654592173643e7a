#pragma once

#include "tools/recorder-emulator/RecorderConfig.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The recordings a recorder holds: its day schedule repeated on every recorded day.

constexpr int kRecordsPerPage = 300;
constexpr int kSecondsPerDay = 86400;

struct RecordEntry {
    uint32_t channel_mask = 0;
    int64_t start_time = 0;  // seconds since 1970, recorder clock
    int64_t end_time = 0;
};

class DaySchedule {
public:
    DaySchedule(const std::vector<RecordSegment>& segments, int64_t first_day, int64_t last_day,
                int channel_count);

    // Recordings of one day in start order; none outside the recorded days.
    std::vector<RecordEntry> RecordsOfDay(int64_t day_number) const;

    // Pages of kRecordsPerPage entries that a day's list fills (0 for an empty day).
    static int PageCount(size_t record_count);
    static std::span<const RecordEntry> Page(const std::vector<RecordEntry>& records, int page);

    // Channels of mask that record at time t of the day (seconds since 1970).
    uint32_t ChannelsRecordingAt(int64_t day_number, int64_t t, uint32_t mask) const;

    // First time >= t and < end on that day at which a channel of mask records.
    std::optional<int64_t> NextRecordedTime(int64_t day_number, int64_t t, int64_t end,
                                            uint32_t mask) const;

    // Earliest and latest recorded times over all days, 0 when nothing is recorded.
    int64_t EarliestTime() const;
    int64_t LatestTime() const;

private:
    bool IsRecordedDay(int64_t day_number) const;

    std::vector<RecordSegment> segments_;
    int64_t first_day_;
    int64_t last_day_;
};
