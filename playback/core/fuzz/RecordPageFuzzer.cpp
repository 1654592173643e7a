// A record page is what a recorder says it recorded: any page, for any choice of the four
// rows' cameras and any day, marks only rows that have a camera, and only with spans of the
// page's entries that name that camera.
//
// Input: the four rows' choices and the day of the month (one byte each), then the page.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "playback/core/search/DayRecordSearch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    constexpr std::size_t kHead = SearchRows::kRows + 1;
    if (size < kHead) return 0;
    std::array<int, SearchRows::kRows> selections{};
    for (int r = 0; r < SearchRows::kRows; ++r)
        selections[r] = data[r] % 18 - 1;  // -1 (nothing chosen) to 16
    const int mday = data[SearchRows::kRows] % 32;
    RecordPage page{};
    std::memcpy(page.data(), data + kHead, std::min(size - kHead, sizeof page));

    const SearchRows rows = MakeSearchRows(selections);
    const PageMarks marks = MarksOfPage(page, rows);
    for (const RecordMark& mark : marks) {
        if (mark.row < 0 || mark.row >= SearchRows::kRows) std::abort();
        const int camera = rows.channels[mark.row];
        if (camera <= 0) std::abort();
        bool named = false;
        for (const _QRF_FILESHOWINFO& entry : page) {
            named = named || (entry.nStartTime != 0 && entry.nStartTime == mark.start &&
                              entry.nEndTime == mark.end &&
                              (static_cast<unsigned>(entry.nChannelMask) >> (camera - 1) & 1u));
        }
        if (!named) std::abort();
    }
    CTimelineSlots timeline;
    ApplyMarks(marks, mday, timeline);
    for (int r = 0; r < CTimelineSlots::kRows; ++r) {
        for (int k = 0; k < CTimelineSlots::kSlots; ++k) {
            if (timeline.Marked(r, k) && rows.channels[r] <= 0) std::abort();
        }
    }
    return 0;
}
