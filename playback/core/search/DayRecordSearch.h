#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <vector>

#include "platform/records/QrfFileShowInfo.h"
#include "playback/core/search/SearchRows.h"
#include "playback/core/search/TimelineSlots.h"

class NetCtrl;

using RecordPage = std::array<_QRF_FILESHOWINFO, kRecListPageEntries>;

// One mark a record page puts on the timeline: a recorded span of one row's camera.
struct RecordMark {
    std::time_t start = 0;
    std::time_t end = 0;
    int row = 0;
};
using PageMarks = std::vector<RecordMark>;

// A day holds no more records than the timeline can tell apart: one per slot of the day for
// each of a recorder's sixteen cameras. Pages a recorder announces beyond these are not asked.
inline constexpr int kMaxDayRecords = CTimelineSlots::kSlots * 16;
inline constexpr int kMaxDayPages =
    (kMaxDayRecords + kRecListPageEntries - 1) / kRecListPageEntries;

// The marks of every recorded entry of one page for the rows whose camera is in it.
PageMarks MarksOfPage(const RecordPage& page, const SearchRows& rows);
// mday: day of the month searched; entries of other days are refused by the timeline.
void ApplyMarks(const PageMarks& marks, int mday, CTimelineSlots& timeline);
void MarkRecordPage(const RecordPage& page, const SearchRows& rows, int mday,
                    CTimelineSlots& timeline);

// Asks the recorder for the day's record list page by page (at most kMaxDayPages) and hands
// the marks of each page to on_page, which returns false to stop asking. 1 when every page
// came; -1 when the first page reports none, a later page fails or on_page stopped the search
// (what was handed on stays).
int SearchDayRecords(NetCtrl& connection, int day_key, const SearchRows& rows, RecordPage& page,
                     const std::function<bool(const PageMarks&)>& on_page);
// The same, marking the timeline.
int SearchDayRecords(NetCtrl& connection, int day_key, int mday, const SearchRows& rows,
                     RecordPage& page, CTimelineSlots& timeline);
