#pragma once

#include <array>

#include "liveview/core/store/DvrSettings.h"
#include "liveview/core/store/MapPoint.h"

// A device of the list: its settings and one map point per camera channel.
struct _DVR_ENTRY_ {
    static constexpr int kMapPoints = 16;

    _DVR_SETTINGS_ settings;
    std::array<_MAP_POINT_, kMapPoints> map_points{};

    bool operator==(const _DVR_ENTRY_&) const = default;
};
