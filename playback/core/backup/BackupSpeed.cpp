#include "playback/core/backup/BackupSpeed.h"

#include <climits>
#include <cstdio>

#include "playback/core/backup/CoarseClock.h"

namespace {

// Called once per frame: a timer of the scheduler's tick, as the system timer it stands for.
std::uint32_t SteadyMilliseconds() {
    return static_cast<std::uint32_t>(CoarseMilliseconds().count());
}

}  // namespace

CBackupSpeed::CBackupSpeed() : clock_(SteadyMilliseconds) {}

CBackupSpeed::CBackupSpeed(Clock clock) : clock_(std::move(clock)) {}

std::optional<std::string> CBackupSpeed::ShowSpeed(std::int64_t received_bytes) {
    calls_ = calls_ == INT_MAX ? 0 : calls_ + 1;
    if (received_bytes < kStartBytes) rate_kb_ = 0;
    if (calls_ % 10 == 0) return std::nullopt;
    const std::uint32_t now_ms = clock_();
    if (!based_) {
        based_ = true;
        base_ms_ = now_ms;
        base_bytes_ = received_bytes;
    } else if (static_cast<std::uint32_t>(now_ms - base_ms_) > kInterval_ms) {
        // Kilobytes since the base; the interval is not divided out.
        rate_kb_ = (received_bytes - base_bytes_) / 1024;
        based_ = false;
    }
    if (rate_kb_ == shown_rate_kb_) return std::nullopt;
    shown_rate_kb_ = rate_kb_;
    char text[96];
    std::snprintf(text, sizeof text, "Speed %lldKB/s Recv %lldKB", static_cast<long long>(rate_kb_),
                  static_cast<long long>(received_bytes / 1024));
    return std::string(text);
}
