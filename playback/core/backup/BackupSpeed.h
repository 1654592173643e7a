#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

// The transfer rate a backup shows: called once per frame received in backup mode with the
// bytes received so far, it measures the kilobytes received over about a second and gives the
// line to show whenever the rate it would show changes. The state lasts for the whole run,
// not one backup. Every tenth call only resets a rate below 64 KiB received.
class CBackupSpeed {
public:
    // Milliseconds of a free-running 32-bit clock; differences are taken unsigned.
    using Clock = std::function<std::uint32_t()>;

    static constexpr std::int64_t kStartBytes = 65536;
    static constexpr std::uint32_t kInterval_ms = 1000;

    CBackupSpeed();
    explicit CBackupSpeed(Clock clock);

    // "Speed %dKB/s Recv %dKB" when the rate differs from the one shown last, else nothing.
    std::optional<std::string> ShowSpeed(std::int64_t received_bytes);

private:
    Clock clock_;
    int calls_ = 0;
    bool based_ = false;
    std::uint32_t base_ms_ = 0;
    std::int64_t base_bytes_ = 0;
    std::int64_t rate_kb_ = 0;
    std::int64_t shown_rate_kb_ = 0;
};
