#pragma once

#include <QWidget>
#include <array>
#include <ctime>
#include <string>

#include "playback/core/search/TimelineSlots.h"

// Which parts of one day have recordings, for four camera rows: a label column, then each
// row's marked slots of five minutes drawn as bars over a light ground. It also converts
// between positions of the play slider and seconds of the day.
class CRecordTimeline : public QWidget {
    Q_OBJECT

public:
    static constexpr std::uint32_t kGroundColour = 0xCDCDCD;  // COLORREF
    static constexpr std::uint32_t kBarColour = 0x9E6997;
    static constexpr std::uint32_t kLineColour = 0x808080;

    explicit CRecordTimeline(QWidget* parent = nullptr);

    // Repaints the whole control.
    int SetRowLabels(const std::array<std::string, CTimelineSlots::kRows>& labels);
    // Marks without repainting; a search clears first, and the clear repaints.
    int AddSegment(std::time_t start, std::time_t end, int row, int mday);
    int Clear();
    void SetRange(int minimum, int maximum) { slots_.SetRange(minimum, maximum); }
    int PosToSeconds(int position) const { return slots_.PosToSeconds(position); }
    int SecondsToPos(std::time_t t) const { return slots_.SecondsToPos(t); }
    int SecondsOfDay(std::time_t t) const { return slots_.SecondsOfDay(t); }

    CTimelineSlots& Slots() { return slots_; }
    const CTimelineSlots& Slots() const { return slots_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    CTimelineSlots slots_;
    QFont label_font_;
};
