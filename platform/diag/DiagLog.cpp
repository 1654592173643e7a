#include "platform/diag/DiagLog.h"

#include <spdlog/cfg/helpers.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <cstdlib>
#include <mutex>

namespace diag {

spdlog::logger& Log(const std::string& module) {
    static std::mutex mutex;
    std::lock_guard lock(mutex);
    static const bool kLevelsRead = [] {
        spdlog::set_level(spdlog::level::off);
        if (const char* levels = std::getenv(kLevelVariable)) {
            spdlog::cfg::helpers::load_levels(levels);
        }
        return true;
    }();
    (void)kLevelsRead;
    if (std::shared_ptr<spdlog::logger> logger = spdlog::get(module)) return *logger;
    // The registry keeps the logger for the program's life, with the level asked for it.
    std::shared_ptr<spdlog::logger> logger = spdlog::stderr_logger_mt(module);
    logger->set_pattern("%H:%M:%S.%e %n %l: %v");
    return *logger;
}

}  // namespace diag
