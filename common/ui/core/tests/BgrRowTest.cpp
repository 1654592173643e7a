#include "common/ui/core/BgrRow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Exact-size rows of every length up to 40, so a read past the last pixel shows under the
// sanitizers, and each pixel lands in its own lane in order.
TEST(BgrRow, EveryLengthGivesOpaquePixelsInOrder) {
    std::mt19937 random(9);
    for (int count = 0; count <= 40; ++count) {
        std::vector<unsigned char> bgr(static_cast<std::size_t>(count) * 3);
        for (unsigned char& byte : bgr)
            byte = static_cast<unsigned char>(random());
        std::vector<std::uint32_t> out(static_cast<std::size_t>(count), 0);
        BgrRowToArgb(bgr.data(), out.data(), count);
        for (int i = 0; i < count; ++i) {
            const std::uint32_t want = 0xFF000000u | (std::uint32_t{bgr[3 * i + 2]} << 16) |
                                       (std::uint32_t{bgr[3 * i + 1]} << 8) | bgr[3 * i];
            ASSERT_EQ(out[i], want) << "pixel " << i << " of " << count;
        }
    }
}

}  // namespace
