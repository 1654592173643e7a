#include "platform/diag/DiagLog.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>

namespace {

// The variable is read once, at the first use of the log: each case runs in a process of its
// own, as a program would.
TEST(DiagLog, LevelsComeFromTheEnvironmentAndAreOffWithout) {
    struct Case {
        const char* variable;  // nullptr: unset
        const char* module;
        spdlog::level::level_enum level;
    };
    const Case cases[] = {
        {nullptr, "liveview", spdlog::level::off},
        {"debug", "liveview", spdlog::level::debug},
        {"warn,netctrl=debug", "netctrl", spdlog::level::debug},
        {"warn,netctrl=debug", "liveview", spdlog::level::warn},
        {"netctrl=info", "liveview", spdlog::level::off},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.variable ? c.variable : "(unset)") + " " + c.module);
        EXPECT_EXIT(
            {
                if (c.variable) {
                    setenv(diag::kLevelVariable, c.variable, 1);
                } else {
                    unsetenv(diag::kLevelVariable);
                }
                std::exit(diag::Log(c.module).level() == c.level ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "");
    }
}

}  // namespace
