#include "playback/core/search/DayRecordSearch.h"

#include "platform/netctrl/NetCtrl.h"

void MarkRecordPage(const RecordPage& page, const SearchRows& rows, int mday,
                    CTimelineSlots& timeline) {
    for (const _QRF_FILESHOWINFO& entry : page) {
        if (entry.nStartTime == 0) continue;
        const auto record_mask = static_cast<unsigned>(entry.nChannelMask);
        for (int r = 0; r < SearchRows::kRows; ++r) {
            const int n = rows.channels[r];
            if (n <= 0 || n > 32 || (record_mask & (1u << (n - 1))) == 0) continue;
            timeline.AddSegment(entry.nStartTime, entry.nEndTime, r, mday);
        }
    }
}

int SearchDayRecords(NetCtrl& connection, int day_key, int mday, const SearchRows& rows,
                     RecordPage& page, CTimelineSlots& timeline) {
    const int pages = connection.TimeToSearchRecList(day_key, page.data(), 0);
    if (pages <= 0) return -1;
    MarkRecordPage(page, rows, mday, timeline);
    for (int p = 1; p < pages; ++p) {
        if (connection.TimeToSearchRecList(day_key, page.data(), p) < 0) return -1;
        MarkRecordPage(page, rows, mday, timeline);
    }
    return 1;
}
