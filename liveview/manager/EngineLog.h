#pragma once

#include <spdlog/logger.h>

#include <utility>

#include "platform/diag/DiagLog.h"

// The engine's lines in the diagnostic log (module "liveview").
inline spdlog::logger& EngineLog() {
    static spdlog::logger& log = diag::Log("liveview");
    return log;
}

// A line that begins with where it happened (the device and channel, from where()), which is
// worked out only when the line is written: the frame threads pass here for every dropped frame.
template <typename Where, typename... Args>
void EngineDiag(spdlog::level::level_enum level, Where&& where, fmt::format_string<Args...> text,
                Args&&... args) {
    spdlog::logger& log = EngineLog();
    if (!log.should_log(level)) return;
    log.log(level, "{}: {}", where(), fmt::format(text, std::forward<Args>(args)...));
}
