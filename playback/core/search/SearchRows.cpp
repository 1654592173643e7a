#include "playback/core/search/SearchRows.h"

#include <algorithm>
#include <cstdio>

SearchRows MakeSearchRows(const std::array<int, SearchRows::kRows>& selections) {
    SearchRows rows;
    for (int r = 0; r < SearchRows::kRows; ++r)
        rows.channels[r] = std::max(selections[r], 0);
    for (int i = 0; i < SearchRows::kRows - 1; ++i) {
        for (int j = i + 1; j < SearchRows::kRows; ++j) {
            if (rows.channels[j] == rows.channels[i]) rows.channels[j] = 0;
        }
    }
    for (int r = 0; r < SearchRows::kRows; ++r) {
        const int n = rows.channels[r];
        // Cameras beyond bit 31 cannot be asked for; a recorder has at most sixteen.
        if (n > 0 && n <= 32) rows.channel_mask |= static_cast<int>(1u << (n - 1));
        char label[16];
        if (n == 0) {
            std::snprintf(label, sizeof label, "NONE");
        } else {
            std::snprintf(label, sizeof label, "CAM%02d", n);
        }
        rows.labels[r] = label;
    }
    return rows;
}
