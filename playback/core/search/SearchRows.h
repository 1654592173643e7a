#pragma once

#include <array>
#include <string>

// The cameras of the four timeline rows for a record search: row channel 0 is none, n is
// camera n. A camera chosen in several rows stays in the first of them only.
struct SearchRows {
    static constexpr int kRows = 4;

    std::array<int, kRows> channels{};
    int channel_mask = 0;                   // bit n-1 for each row camera n
    std::array<std::string, kRows> labels;  // "NONE" or "CAM%0.2d"
};

// selections: the chosen item of each row's camera box, -1 for a box without a selection.
SearchRows MakeSearchRows(const std::array<int, SearchRows::kRows>& selections);
