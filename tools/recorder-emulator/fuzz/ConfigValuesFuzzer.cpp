// Config values come from files people type: no text may crash a reader or pass a value out
// of its range.
#include "tools/recorder-emulator/ConfigValues.h"
#include "tools/recorder-emulator/DaySchedule.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ParseInteger(text);
    ParseCodecWord(text);
    if (const auto users = ParseUsers(text)) {
        for (const UserAccount& u : *users) {
            if (u.name.empty() || u.level < 0 || u.level > 2) std::abort();
        }
    }
    if (const auto values = ParsePerChannel(text, 16); values && values->size() != 16) {
        std::abort();
    }
    if (const auto schedule = ParseSchedule(text)) {
        if (schedule->size() > kMaxScheduleRecords) std::abort();
        for (const RecordSegment& s : *schedule) {
            if (s.start_s < 0 || s.start_s >= s.end_s || s.end_s > kSecondsPerDay ||
                s.channel_mask == 0 || s.channel_mask > 0xffff) {
                std::abort();
            }
        }
    }
    if (const auto days = ParseRecordDays(text, 14000); days && days->first > days->second) {
        std::abort();
    }
    return 0;
}
