#include "common/ui/core/SnapshotName.h"

#include <cstdio>

std::string SnapshotName(const std::tm& t) {
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d_%02d%02d%02d.bmp", t.tm_year + 1900,
                  t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec);
    return name;
}

std::string SnapshotNameNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return SnapshotName(local);
}
