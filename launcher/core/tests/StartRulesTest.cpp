#include <gtest/gtest.h>

#include "launcher/core/StartLayout.h"
#include "launcher/core/StartTargets.h"

TEST(StartRulesTest, WindowIsCentredInTheAvailableArea) {
    EXPECT_EQ(StartWindowPlace({0, 0, 1024, 738}), (StartRect{333, 281, 358, 175}));
    // A panel on the left or at the top moves the area's origin.
    EXPECT_EQ(StartWindowPlace({64, 32, 1856, 1048}), (StartRect{64 + 749, 32 + 436, 358, 175}));
}

TEST(StartRulesTest, ProgramsLieBelowTheClientFolder) {
    EXPECT_EQ(StartProgramPath("/opt/a b", StartProgram::kPlayBack),
              "/opt/a b/ClientSoftware/PlayBack");
    EXPECT_EQ(StartProgramPath("/x", StartProgram::kFirmora), "/x/ClientSoftware/Firmora");
}
