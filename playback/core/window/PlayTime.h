#pragma once

// Times of the played day: seconds of the day 0..86400, the play slider's minutes 0..1440.
namespace play_time {

// Every play request runs to the end of the searched day.
inline constexpr long kDayEnd_s = 86400;

inline int SecondsOfDay(int hour, int minute, int second) {
    return hour * 3600 + minute * 60 + second;
}

// The play slider's position of a second of the day: seconds times 1/60 held in single
// precision, truncated, so 06:00:59 is minute 360.
inline int SliderPosition(int seconds) { return static_cast<int>(seconds * (1.0f / 60.0f)); }

// The picker's time for a second the slider stands on: the slider's end, the day's end,
// shows as the day's last second, which the picker can hold.
inline int PickerSecond(int seconds) { return seconds < kDayEnd_s ? seconds : kDayEnd_s - 1; }

}  // namespace play_time
