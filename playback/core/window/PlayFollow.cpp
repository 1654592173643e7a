#include "playback/core/window/PlayFollow.h"

#include <cstdlib>

bool CPlayFollow::ShouldFollow(int slider_pos, int target_pos, int range_minimum,
                               int range_maximum) {
    const int near_limit = (range_maximum - range_minimum) / kRangeDivisor;
    if (std::abs(slider_pos - target_pos) < near_limit) {
        far_looks_ = 0;
        return true;
    }
    if (++far_looks_ < kFarLooks) return false;
    far_looks_ = 0;
    return true;
}
