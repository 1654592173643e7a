// The video window's rules without a window: where presses land, what a tree selection does
// to the view, the channel menu and its commands, and the pan/tilt/zoom pad.
#include <gtest/gtest.h>

#include <set>
#include <type_traits>
#include <variant>

#include "liveview/core/window/ChannelMenu.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/PtzPad.h"
#include "liveview/core/window/VideoViews.h"
#include "platform/records/DvrMachineInfo.h"

using namespace live_view_id;

TEST(VideoViews, PressesLayoutButtonsAndTreeSelections) {
    EXPECT_EQ(GridPointOf({100, 200}, false), (ViewPoint{70, 165}));
    EXPECT_EQ(GridPointOf({100, 200}, true), (ViewPoint{100, 200}));

    const std::pair<int, int> buttons[] = {{kWindow4, 4},     {kWindow9, 9},     {kWindow16, 16},
                                           {kWindow25, 25},   {kWindow36, 36},   {kWindow64, 64},
                                           {kWindow144, 144}, {kWindow256, 256}, {kFullWindow, 0}};
    for (const auto& [id, layout] : buttons)
        EXPECT_EQ(LayoutOfButton(id), layout) << id;
    for (int id : AllDvrLayoutButtons())
        EXPECT_GE(LayoutOfButton(id), 25) << id;
    // Everything but the grid, the cover plate, the map button and the never-placed buttons.
    const std::set<int> moved(FullWindowControls().begin(), FullWindowControls().end());
    EXPECT_EQ(moved.size(), FullWindowControls().size());
    EXPECT_EQ(moved.size(), 44u);
    for (int id : {kGrid, kCoverPlate, kMap, kOk, kLive, kStop})
        EXPECT_FALSE(moved.contains(id)) << id;

    struct Case {
        int slot, layout, user_level;
        DvrSelection want;
    };
    const Case cases[] = {
        {-1, 1, 0, {true, 256, false, true}},  // the root keeps even single mode
        {0, 16, 2, {false, 16, false, true}},  // layout 16 keeps its page
        {3, 1, 1, {false, 16, true, false}},   // single mode goes back to 16 cells
        {1, 4, 2, {false, 16, true, true}},
    };
    for (const Case& c : cases) {
        const DvrSelection got = PlanDvrSelection(c.slot, c.layout, c.user_level);
        EXPECT_EQ(got.all_dvr_view, c.want.all_dvr_view) << c.slot;
        EXPECT_EQ(got.total, c.want.total) << c.slot;
        EXPECT_EQ(got.to_layout_16, c.want.to_layout_16) << c.slot;
        EXPECT_EQ(got.pad_shown, c.want.pad_shown) << c.slot;
    }
}

TEST(ChannelMenu, IdsNameOneCameraOfOneCellEach) {
    EXPECT_EQ(ChannelCommandId(5, 202), 400000 + 5 * 10000 + 2 * 100 + 2);
    EXPECT_EQ(DecodeChannelCommand(450202), (ChannelCommand{5, 202}));
    EXPECT_EQ(DecodeChannelCommand(ChannelCommandId(255, 6315)), (ChannelCommand{255, 6315}));
    // A key past the menu's cameras still names its cell, so the cell's own item works.
    EXPECT_EQ(DecodeChannelCommand(ChannelCommandId(3, 16)), (ChannelCommand{3, 16}));
    EXPECT_EQ(DecodeChannelCommand(ChannelCommandId(3, 6400)), (ChannelCommand{3, 6400}));
    for (int id : {kChannelCommandNone, 399999, 0, ChannelCommandId(256, 0)}) {
        EXPECT_EQ(DecodeChannelCommand(id), std::nullopt) << id;
    }
    EXPECT_EQ(ChannelTitle("Yard", 202), "Yard:CH03");
    EXPECT_EQ(ChannelMenuChannels(1004), 4);
    EXPECT_EQ(ChannelMenuChannels(1100), 16);  // would reach into the next device's ids
    EXPECT_EQ(ChannelMenuChannels(-5), 0);
}

TEST(ChannelMenu, OffersTheLinkedDevicesCamerasWithTheShownOnesChecked) {
    const ChannelMenuDevice devices[] = {
        {"Gate", kLinkStreaming, 1004}, {"Idle", kLinkIdle, 1016}, {"Big", kLinkLoggedIn, 1100}};
    const auto shown = [](int32_t key) { return key == 2 || key == 215; };

    const ChannelMenuModel empty = MakeChannelMenu(5, -1, devices, shown);
    EXPECT_EQ(empty.first, (ChannelMenuItem{"NONE", kChannelCommandNone, false}));
    ASSERT_EQ(empty.devices.size(), 2u);
    EXPECT_EQ(empty.devices[0].title, "Gate");
    EXPECT_EQ(empty.devices[0].items, (std::vector<ChannelMenuItem>{{"CH01", 450000, false},
                                                                    {"CH02", 450001, false},
                                                                    {"CH03", 450002, true},
                                                                    {"CH04", 450003, false}}));
    EXPECT_EQ(empty.devices[1].title, "Big");
    ASSERT_EQ(empty.devices[1].items.size(), 16u);
    EXPECT_EQ(empty.devices[1].items.back(), (ChannelMenuItem{"CH16", 450215, true}));

    const ChannelMenuModel showing = MakeChannelMenu(7, 2, devices, shown);
    EXPECT_EQ(showing.first, (ChannelMenuItem{"Gate:CH03", 470002, false}));
}

TEST(ChannelMenu, ACameraGoesIntoItsCellOrLeavesTheCellShowingIt) {
    CWindowMap map;
    map.SetWindowChannel(9, 101);
    map.SetWindowChannel(11, 20);  // channel 21, from a store written elsewhere
    struct Step {
        ChannelCommand command;
        int emptied;
        int cell5, cell7, cell9;
    };
    const Step steps[] = {
        {{5, 202}, -1, 202, -1, 101},  // placed
        {{5, 3}, -1, 3, -1, 101},      // replaces what cell 5 showed
        {{7, 101}, 9, 3, -1, -1},      // shown in cell 9: cell 9 empties, cell 7 stays
        {{5, 3}, 5, -1, -1, -1},       // the first item of a cell empties it
        {{5, 6400}, -1, -1, -1, -1},   // no camera the menu offers: nothing placed
        {{11, 20}, 11, -1, -1, -1},    // a key past the menu's channels leaves its cell
    };
    for (const Step& s : steps) {
        EXPECT_EQ(ApplyChannelCommand(map, s.command), s.emptied) << s.command.key;
        EXPECT_EQ(map.GetWindowChannel(5), s.cell5) << s.command.key;
        EXPECT_EQ(map.GetWindowChannel(7), s.cell7) << s.command.key;
        EXPECT_EQ(map.GetWindowChannel(9), s.cell9) << s.command.key;
    }
    EXPECT_EQ(map.GetWindowChannel(11), -1);
}

TEST(PtzPad, EveryStartIsFollowedByItsStop) {
    constexpr CPtzPad::Hits kUpHit = 1u << 0, kIrisHits = 3u << 4, kZoomInHit = 1u << 8;
    struct Press {
        int channel;
        CPtzPad::Hits hits;
    };
    struct Release {
        int channel;
    };
    struct Guard {
        CPtzPad::Hits hits;
    };
    struct Click {
        int code, channel;
    };
    struct Step {
        std::variant<Press, Release, Guard, Click> event;
        std::vector<PtzRequest> want;
        int held;
    };
    const Step steps[] = {
        {Press{-1, kUpHit}, {}, 0},        // four cells shown: nothing
        {Press{3, 0}, {}, 0},              // not on the pad
        {Press{3, kUpHit}, {{9, 31}}, 1},  // UP on cell 3
        {Guard{1u << 3}, {}, 1},           // still over a pad button
        {Release{3}, {{9, 32}}, 0},
        {Release{3}, {}, 0},
        {Press{12, kIrisHits}, {{17, 121}}, 6},  // a shared edge: the later button, once
        {Release{-1}, {{17, 122}}, 0},           // let go anywhere, on the start's channel
        {Press{0, kZoomInHit}, {{22, 1}}, 9},
        {Press{0, kUpHit}, {{22, 2}, {9, 1}}, 1},  // a missed release is made up for
        {Guard{0}, {{9, 2}}, 0},                   // dragged off the pad
        {Guard{0}, {}, 0},
        {Click{CPtzPad::kEnterCode, 0}, {{12, 3}}, 0},
        {Click{CPtzPad::kAutoCode, 12}, {{23, 123}}, 0},
        {Click{CPtzPad::kAutoCode, -1}, {}, 0},
    };
    CPtzPad pad;
    int i = 0;
    for (const Step& s : steps) {
        std::vector<PtzRequest> got;
        auto add = [&](std::optional<PtzRequest> r) {
            if (r) got.push_back(*r);
        };
        std::visit(
            [&](const auto& e) {
                using E = std::decay_t<decltype(e)>;
                if constexpr (std::is_same_v<E, Press>) got = pad.Press(e.channel, e.hits);
                if constexpr (std::is_same_v<E, Release>) add(pad.Release(e.channel));
                if constexpr (std::is_same_v<E, Guard>) add(pad.Guard(e.hits));
                if constexpr (std::is_same_v<E, Click>) add(pad.Click(e.code, e.channel));
            },
            s.event);
        EXPECT_EQ(got, s.want) << "step " << i;
        EXPECT_EQ(pad.ButtonNumber(), s.held) << "step " << i;
        EXPECT_EQ(pad.Pressed(), s.held != 0) << "step " << i;
        ++i;
    }
    EXPECT_EQ(pad.Channel(), -1);
}
