#include "platform/surface/PixelSpread.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

// Rows and outputs of exact size, so that a read or write past either shows under the address
// sanitizer; enlargements take the planned permutes, the other lists pick one by one.
TEST(PixelSpread, SpreadsEveryEnlargementAndPicksOtherListsOneByOne) {
    std::mt19937 random(13);
    const struct {
        int width, dest_width;
    } cases[] = {{1, 5},      {7, 8},      {8, 9},     {9, 16}, {352, 704}, {720, 1280},
                 {720, 1281}, {176, 1408}, {352, 352}, {16, 8}, {33, 20}};
    for (const auto& c : cases) {
        std::vector<std::uint32_t> row(static_cast<std::size_t>(c.width));
        for (std::uint32_t& pixel : row)
            pixel = static_cast<std::uint32_t>(random());
        std::vector<int> columns(static_cast<std::size_t>(c.dest_width));
        for (int x = 0; x < c.dest_width; ++x)
            columns[x] = static_cast<int>(static_cast<std::int64_t>(x) * c.width / c.dest_width);
        PixelSpread spread;
        spread.Build(columns, c.width);
        std::vector<std::uint32_t> out(columns.size());
        spread.Spread(row.data(), out.data());
        for (int x = 0; x < c.dest_width; ++x)
            ASSERT_EQ(out[x], row[columns[x]]) << c.width << " to " << c.dest_width << " at " << x;
    }
}
