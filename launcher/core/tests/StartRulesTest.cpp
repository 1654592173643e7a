#include <gtest/gtest.h>

#include "StartLayout.h"
#include "StartTargets.h"

TEST(StartRulesTest, WindowIsCentredInTheAvailableArea) {
    struct Case {
        StartRect available;
        StartRect window;
    };
    const Case cases[] = {
        {{0, 0, 1024, 738}, {333, 281, 358, 175}},
        {{0, 0, 1280, 1024}, {461, 424, 358, 175}},
        // A panel on the left or at the top moves the area's origin.
        {{64, 32, 1856, 1048}, {64 + 749, 32 + 436, 358, 175}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(StartWindowPlace(c.available), c.window) << c.available.width_px;
    }
}

TEST(StartRulesTest, ProgramsAndLanguageFilesLieBelowTheClientFolder) {
    EXPECT_EQ(StartProgramPath("/opt/suite", StartProgram::kPlayBack),
              "/opt/suite/ClientSoftware/PlayBack");
    EXPECT_EQ(StartProgramPath("/opt/suite", StartProgram::kOculan),
              "/opt/suite/ClientSoftware/Oculan");
    EXPECT_EQ(StartProgramPath("/a b", StartProgram::kRewinda), "/a b/ClientSoftware/Rewinda");
    EXPECT_EQ(StartProgramPath("/x", StartProgram::kFirmora), "/x/ClientSoftware/Firmora");

    const std::pair<const char*, const char*> languages[] = {
        {"chinese", "ClientSoftware/language/chinese.txt"},
        {"Chinese", "ClientSoftware/language/english.txt"},
        {"english", "ClientSoftware/language/english.txt"},
        {"", "ClientSoftware/language/english.txt"},
    };
    for (const auto& [language, file] : languages) {
        EXPECT_EQ(StartLanguageFile(language), file) << language;
    }
}
