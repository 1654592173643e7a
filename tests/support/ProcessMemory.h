#pragma once

#include <cstdint>
#include <fstream>
#include <string>

// Resident memory of this process in bytes (VmRSS of /proc/self/status), 0 when unknown.
inline int64_t ResidentBytes() {
    std::ifstream status("/proc/self/status");
    std::string field;
    while (status >> field) {
        if (field == "VmRSS:") {
            int64_t kib = 0;
            status >> kib;
            return kib * 1024;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}
