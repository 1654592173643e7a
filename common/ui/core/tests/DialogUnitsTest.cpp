#include "common/ui/core/DialogUnits.h"

#include <gtest/gtest.h>

namespace {

constexpr DialogBaseUnits kLiveView{6, 12};
constexpr DialogBaseUnits kUpdateTool{6, 13};

}  // namespace

// The live view's dialog sizes, the update tool's control places, and the halves either way.
TEST(DialogUnitsTest, TemplateLengthsComeOutAsTheWindowsHaveThem) {
    struct Case {
        int units;
        DialogBaseUnits base;
        DialogUnitRounding rounding;
        int x_px;
        int y_px;
    } const cases[] = {
        {183, kLiveView, DialogUnitRounding::kDropped, 274, 274},
        {141, kLiveView, DialogUnitRounding::kDropped, 211, 211},
        {69, kLiveView, DialogUnitRounding::kDropped, 103, 103},
        {290, kLiveView, DialogUnitRounding::kDropped, 435, 435},
        {183, kLiveView, DialogUnitRounding::kHalfAway, 275, 275},
        {228, kUpdateTool, DialogUnitRounding::kHalfAway, 342, 371},
        {110, kUpdateTool, DialogUnitRounding::kHalfAway, 165, 179},
        {99, kUpdateTool, DialogUnitRounding::kHalfAway, 149, 161},
        {15, kUpdateTool, DialogUnitRounding::kHalfAway, 23, 24},
        {25, kUpdateTool, DialogUnitRounding::kHalfAway, 38, 41},
        {12, kUpdateTool, DialogUnitRounding::kHalfAway, 18, 20},
        {0, kUpdateTool, DialogUnitRounding::kHalfAway, 0, 0},
        {-3, kUpdateTool, DialogUnitRounding::kHalfAway, -5, -5},
        {-3, kLiveView, DialogUnitRounding::kDropped, -4, -4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DialogUnitsX_px(c.units, c.base, c.rounding), c.x_px) << c.units;
        EXPECT_EQ(DialogUnitsY_px(c.units, c.base, c.rounding), c.y_px) << c.units;
    }
}
