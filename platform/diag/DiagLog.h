#pragma once

#include <spdlog/logger.h>

#include <string>

// The diagnostic log: lines on standard error, one logger per module ("liveview", "netctrl").
// Quiet unless the environment variable SUITE_LOG asks for a level, for every module
// (SUITE_LOG=debug) or for some (SUITE_LOG=warn,liveview=debug). What the operator is told
// goes through the programs' messages, never through here.
namespace diag {

inline constexpr const char* kLevelVariable = "SUITE_LOG";

// The module's logger, made on first use with the level the environment gives it.
spdlog::logger& Log(const std::string& module);

}  // namespace diag
