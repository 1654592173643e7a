#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "playback/core/backup/BackupSpeed.h"

namespace {

struct Call {
    int64_t received_bytes;
    uint32_t now_ms;
    std::optional<std::string> shown;
};

// Each case runs its calls on a fresh rate with the clock reading now_ms at each call.
TEST(BackupSpeed, RateRuleAndText) {
    struct Case {
        const char* what;
        std::vector<Call> calls;
    } cases[] = {
        {"a rate measured over just over a second, then not repeated",
         {{70000, 0, {}},
          {600000, 1000, {}},
          {1100000, 1001, "Speed 1005KB/s Recv 1074KB"},
          {1200000, 1100, {}},
          {2230000, 2101, {}}}},  // 1005 again: the same rate is not written again
        {"the clock wraps",
         {{100000, 0xFFFFFF00u, {}}, {612000, 0x000002F0u, "Speed 500KB/s Recv 597KB"}}},
        {"every tenth call only resets a rate below 64 KiB",
         {{70000, 0, {}},
          {1094000, 1500, "Speed 1000KB/s Recv 1068KB"},
          {1100000, 1600, {}},
          {1100000, 1700, {}},
          {1100000, 1800, {}},
          {1100000, 1900, {}},
          {1100000, 2000, {}},
          {1100000, 2100, {}},
          {1100000, 2200, {}},
          {1000, 2300, {}},  // tenth call: rate 0, nothing shown
          {1000, 2400, "Speed 0KB/s Recv 0KB"}}},
        {"counts past 2 GiB",
         {{3000000000, 0, {}}, {3000512000, 1200, "Speed 500KB/s Recv 2930187KB"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        uint32_t now_ms = 0;
        CBackupSpeed speed([&now_ms] { return now_ms; });
        for (size_t i = 0; i < c.calls.size(); ++i) {
            now_ms = c.calls[i].now_ms;
            EXPECT_EQ(speed.ShowSpeed(c.calls[i].received_bytes), c.calls[i].shown) << "call " << i;
        }
    }
}

}  // namespace
