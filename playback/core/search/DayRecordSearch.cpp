#include "playback/core/search/DayRecordSearch.h"

#include <algorithm>

#include "platform/netctrl/NetCtrl.h"

PageMarks MarksOfPage(const RecordPage& page, const SearchRows& rows) {
    PageMarks marks;
    for (const _QRF_FILESHOWINFO& entry : page) {
        if (entry.nStartTime == 0) continue;
        const auto record_mask = static_cast<unsigned>(entry.nChannelMask);
        for (int r = 0; r < SearchRows::kRows; ++r) {
            const int n = rows.channels[r];
            if (n <= 0 || n > 32 || (record_mask & (1u << (n - 1))) == 0) continue;
            marks.push_back({entry.nStartTime, entry.nEndTime, r});
        }
    }
    return marks;
}

void ApplyMarks(const PageMarks& marks, int mday, CTimelineSlots& timeline) {
    for (const RecordMark& mark : marks)
        timeline.AddSegment(mark.start, mark.end, mark.row, mday);
}

void MarkRecordPage(const RecordPage& page, const SearchRows& rows, int mday,
                    CTimelineSlots& timeline) {
    ApplyMarks(MarksOfPage(page, rows), mday, timeline);
}

int SearchDayRecords(NetCtrl& connection, int day_key, const SearchRows& rows, RecordPage& page,
                     const std::function<bool(const PageMarks&)>& on_page) {
    const int announced = connection.TimeToSearchRecList(day_key, page.data(), 0);
    if (announced <= 0) return -1;
    if (!on_page(MarksOfPage(page, rows))) return -1;
    const int pages = std::min(announced, kMaxDayPages);
    for (int p = 1; p < pages; ++p) {
        if (connection.TimeToSearchRecList(day_key, page.data(), p) < 0) return -1;
        if (!on_page(MarksOfPage(page, rows))) return -1;
    }
    return 1;
}

int SearchDayRecords(NetCtrl& connection, int day_key, int mday, const SearchRows& rows,
                     RecordPage& page, CTimelineSlots& timeline) {
    return SearchDayRecords(connection, day_key, rows, page, [&](const PageMarks& marks) {
        ApplyMarks(marks, mday, timeline);
        return true;
    });
}
