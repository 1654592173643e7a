#pragma once

#include <array>

#include "platform/records/QrfFileShowInfo.h"
#include "playback/core/search/SearchRows.h"
#include "playback/core/search/TimelineSlots.h"

class NetCtrl;

using RecordPage = std::array<_QRF_FILESHOWINFO, kRecListPageEntries>;

// Marks on the timeline every recorded entry of one page for the rows whose camera is in it.
// mday: day of the month searched; entries of other days are refused by the timeline.
void MarkRecordPage(const RecordPage& page, const SearchRows& rows, int mday,
                    CTimelineSlots& timeline);

// Asks the recorder for the day's record list page by page and marks each page. 1 when every
// page came; -1 when the first page reports none or a later page fails (what was marked
// stays).
int SearchDayRecords(NetCtrl& connection, int day_key, int mday, const SearchRows& rows,
                     RecordPage& page, CTimelineSlots& timeline);
