#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

// What the record timeline shows, without its window: one day cut into 288 slots of 300
// seconds for four rows, the rows' labels, and the conversions between positions on the day
// and seconds of the day.
class CTimelineSlots {
public:
    static constexpr int kRows = 4;
    static constexpr int kSlots = 288;
    static constexpr int kSlot_s = 300;
    static constexpr int kDay_s = 86400;
    // 1/86400 as the single-precision value it is kept in: a little below the exact value, so
    // a time on a whole minute lands one position lower.
    static constexpr float kDayFraction = 1.0f / 86400.0f;
    static constexpr int kLabelColumn_px = 45;

    // Height of one row in a control height_px high.
    static int RowHeight(int height_px) { return static_cast<int>(height_px * 0.25); }
    // Left edge of slot k in a bar area bar_width_px wide; slot k ends where k + 1 begins, so
    // neighbouring marks join into one bar.
    static int SlotLeft(int slot, int bar_width_px) { return bar_width_px * slot / kSlots; }

    // -1 for a row outside 0..3; 0 when start cannot be broken down or falls on another day of
    // the month than mday; else the day base is taken from start, every slot the closed span
    // touches is marked and the result is 86400. Marks are only ever added.
    int AddSegment(std::time_t start, std::time_t end, int row, int mday);
    // Every slot empty; the day base stays.
    void Clear();
    void SetRowLabels(const std::array<std::string, kRows>& labels) { labels_ = labels; }
    void SetRange(int minimum, int maximum);

    int PosToSeconds(int position) const;
    int SecondsToPos(std::time_t t) const;
    int SecondsOfDay(std::time_t t) const { return static_cast<int>(t - day_base_); }

    bool Marked(int row, int slot) const { return slots_[row][slot] != 0; }
    const std::array<std::string, kRows>& RowLabels() const { return labels_; }
    std::time_t DayBase() const { return day_base_; }
    int Minimum() const { return minimum_; }
    int Maximum() const { return maximum_; }

private:
    int maximum_ = 100;
    int minimum_ = 0;
    std::time_t day_base_ = 0;
    std::array<std::string, kRows> labels_;
    std::array<std::array<std::int32_t, kSlots>, kRows> slots_{};
};
