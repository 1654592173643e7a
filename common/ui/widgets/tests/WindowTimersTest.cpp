#include "common/ui/widgets/WindowTimers.h"

#include <gtest/gtest.h>

#include <QObject>
#include <vector>

#include "tests/support/QtWaits.h"

// Ids keep their own timers: a restart takes the new period, a single shot stops after its
// tick and runs again when started again, a kill of an id never started does nothing.
TEST(WindowTimersTest, IdsStartRestartAndStopAsTheWindowAsks) {
    QObject window;
    std::vector<int> ticks;
    CWindowTimers timers(&window, [&ticks](int id) { ticks.push_back(id); });
    timers.Kill(7);
    EXPECT_FALSE(timers.IsActive(7));
    EXPECT_EQ(timers.Interval(7), -1);

    timers.Start(10, 60000);
    timers.Start(10, 300);
    EXPECT_TRUE(timers.IsActive(10));
    EXPECT_EQ(timers.Interval(10), 300);

    timers.Start(26, 1, true);
    ASSERT_EVENTUALLY(!timers.IsActive(26));
    EXPECT_EQ(ticks, std::vector<int>{26});
    timers.Start(26, 1, true);
    ASSERT_EVENTUALLY_EQ(ticks.size(), 2u);
    EXPECT_EQ(ticks.back(), 26);

    timers.KillAll();
    EXPECT_FALSE(timers.IsActive(10));
    EXPECT_EQ(timers.Interval(10), 300);
}
