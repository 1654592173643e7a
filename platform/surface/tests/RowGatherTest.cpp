#include "platform/surface/RowGather.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Gathers from a row of exactly row_bytes bytes into a buffer of exactly the padded count, so
// that a read or write past either shows under the address sanitizer.
void ExpectPicks(const std::vector<int>& columns, int row_bytes, std::mt19937& random) {
    std::vector<uint8_t> row(static_cast<std::size_t>(row_bytes));
    for (uint8_t& byte : row)
        byte = static_cast<uint8_t>(random());
    RowGather gather;
    gather.Build(columns, row_bytes);
    std::vector<uint8_t> out(static_cast<std::size_t>(gather.PaddedCount()));
    gather.Gather(row.data(), out.data());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        ASSERT_EQ(out[i], row[columns[i]])
            << "output " << i << " of " << columns.size() << " from a row of " << row_bytes;
    }
}

}  // namespace

TEST(RowGather, PicksTheColumnsOfEveryDrawScale) {
    std::mt19937 random(11);
    // Shrinking, equal and growing sizes, rows shorter than one window, and the chroma columns
    // (half the luma ones) with their half-width rows.
    for (int width : {1, 7, 15, 16, 17, 31, 176, 352, 704, 720}) {
        for (int dest_width : {1, 5, 16, 17, 41, 84, 88, 120, 172, 352, 700}) {
            std::vector<int> luma(static_cast<std::size_t>(dest_width));
            std::vector<int> chroma(luma.size());
            for (int x = 0; x < dest_width; ++x) {
                luma[x] = static_cast<int>(static_cast<int64_t>(x) * width / dest_width);
                chroma[x] = luma[x] >> 1;
            }
            ExpectPicks(luma, width, random);
            ExpectPicks(chroma, (width + 1) / 2, random);
        }
    }
}

TEST(RowGather, PicksUnevenStepsAndLongJumps) {
    std::mt19937 random(5);
    for (int trial = 0; trial < 200; ++trial) {
        // Steps of 0 to 40 bytes: windows holding many picks, one pick, or repeats.
        std::vector<int> columns;
        int column = static_cast<int>(random() % 8);
        const int count = 1 + static_cast<int>(random() % 100);
        for (int i = 0; i < count; ++i) {
            columns.push_back(column);
            column += static_cast<int>(random() % (trial % 2 == 0 ? 41 : 4));
        }
        ExpectPicks(columns, columns.back() + 1 + static_cast<int>(random() % 3), random);
    }
}

TEST(RowGather, RebuildingForAnotherSizeForgetsTheOldPlan) {
    std::mt19937 random(3);
    RowGather gather;
    gather.Build({0, 4, 8, 12, 16, 20, 24, 28, 32, 36, 40, 44, 48, 52, 56, 60, 64}, 65);
    gather.Build({2, 3, 9}, 10);
    EXPECT_EQ(gather.Count(), 3);
    std::vector<uint8_t> row(10);
    for (uint8_t& byte : row)
        byte = static_cast<uint8_t>(random());
    std::vector<uint8_t> out(static_cast<std::size_t>(gather.PaddedCount()));
    gather.Gather(row.data(), out.data());
    EXPECT_EQ(out[0], row[2]);
    EXPECT_EQ(out[1], row[3]);
    EXPECT_EQ(out[2], row[9]);
}

TEST(RowGather, PicksEvenStepsFromAnyStartUpToTheRowsEnd) {
    std::mt19937 random(9);
    for (int step : {1, 2, 4}) {
        for (int first : {0, 1, 3}) {
            for (int count : {2, 15, 16, 17, 33, 88}) {
                std::vector<int> columns(static_cast<std::size_t>(count));
                for (int i = 0; i < count; ++i)
                    columns[i] = first + step * i;
                ExpectPicks(columns, columns.back() + 1, random);
            }
        }
    }
}

TEST(RowGather, PicksFarApartColumnsAtTheRowsEndAndAcrossBlocks) {
    std::mt19937 random(13);
    // Picks 3 to 40 bytes apart in rows from one wide window long to many: the windows of the
    // last picks are held inside the row, and a block of 64 outputs may end partly filled.
    struct Case {
        int row_bytes, count, step;
    };
    for (const Case c : {Case{128, 32, 4}, Case{129, 1, 40}, Case{191, 63, 3}, Case{720, 64, 11},
                         Case{720, 65, 11}, Case{1440, 88, 16}, Case{4000, 130, 30}}) {
        std::vector<int> columns(static_cast<std::size_t>(c.count));
        // Ending on the row's last byte.
        for (int i = 0; i < c.count; ++i)
            columns[i] = c.row_bytes - 1 - (c.count - 1 - i) * c.step;
        if (columns.front() < 0) continue;
        ExpectPicks(columns, c.row_bytes, random);
    }
}
