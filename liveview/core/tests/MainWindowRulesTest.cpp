// The main window's rules without a window: timer 10's and 14's button tables, timer 26's
// hover title and the texts of the connection messages.
#include <gtest/gtest.h>

#include <map>

#include "common/settings/LanguageSelect.h"
#include "liveview/core/streaming/ConnectMessages.h"
#include "liveview/core/window/ButtonStates.h"
#include "liveview/core/window/HoverTitle.h"
#include "liveview/core/window/LiveViewIds.h"

namespace {

using namespace live_view_id;

// A button's state after the steps: enabled (E/D) and shown (S/H), '-' when untouched.
struct Final {
    char enabled = '-';
    char shown = '-';
    bool operator==(const Final&) const = default;
};

std::map<int, Final> Fold(const std::vector<ButtonStep>& steps) {
    std::map<int, Final> state;
    for (const ButtonStep& step : steps) {
        Final& f = state[step.id];
        switch (step.action) {
            case ButtonAction::kEnable:
                f.enabled = 'E';
                break;
            case ButtonAction::kDisable:
                f.enabled = 'D';
                break;
            case ButtonAction::kShow:
                f.shown = 'S';
                break;
            case ButtonAction::kHide:
                f.shown = 'H';
                break;
        }
    }
    return state;
}

// "ES" = enabled and shown, "D-" = disabled, visibility untouched, "--" = untouched.
std::string Of(const std::map<int, Final>& state, int id) {
    const auto it = state.find(id);
    const Final f = it == state.end() ? Final{} : it->second;
    return {f.enabled, f.shown};
}

std::string Describe(const ButtonInputs& in) {
    return "count " + std::to_string(in.dvr_count) + " selected " + std::to_string(in.selected) +
           " link " + std::to_string(in.link_state) + " rec " + std::to_string(in.recording) +
           " lock " + std::to_string(in.password_lock) + " role " + std::to_string(in.role);
}

}  // namespace

TEST(MainWindowRules, DeviceButtonsFollowListSelectionLinkRecordingAndRole) {
    struct Case {
        ButtonInputs in;
        // CONNECT, DIS, LIVE, STOP, SET, REC, STOP REC
        std::array<const char*, 7> expected;
    };
    const Case cases[] = {
        // No device at all.
        {{0, -1, 0, false, false, 0}, {"DS", "DH", "D-", "D-", "D-", "DS", "-H"}},
        // The root.
        {{3, -1, 2, false, false, 0}, {"ES", "-H", "--", "--", "D-", "D-", "D-"}},
        // Link states 0, 1 and 2.
        {{3, 1, 0, false, false, 0}, {"ES", "DH", "D-", "D-", "E-", "DS", "DH"}},
        {{3, 1, 1, false, false, 0}, {"DH", "ES", "E-", "E-", "--", "DS", "DH"}},
        {{3, 1, 2, false, false, 0}, {"DH", "ES", "D-", "E-", "E-", "ES", "DH"}},
        {{3, 1, 2, true, false, 0}, {"DH", "ES", "D-", "E-", "D-", "DH", "ES"}},
        // A lost link keeps whatever the buttons show.
        {{3, 1, 3, false, false, 0}, {"--", "--", "--", "--", "--", "--", "--"}},
        // The user role of the password lock: SET and REC never enabled.
        {{3, 1, 0, false, true, 2}, {"ES", "DH", "D-", "D-", "D-", "DS", "DH"}},
        {{3, 1, 2, false, true, 2}, {"DH", "ES", "D-", "E-", "D-", "DS", "DH"}},
        {{3, 1, 1, false, true, 2}, {"DH", "ES", "E-", "E-", "D-", "DS", "DH"}},
        // Role 2 without the lock, and the admin role under it, change nothing.
        {{3, 1, 2, false, false, 2}, {"DH", "ES", "D-", "E-", "E-", "ES", "DH"}},
        {{3, 1, 2, false, true, 1}, {"DH", "ES", "D-", "E-", "E-", "ES", "DH"}},
    };
    const int ids[] = {kConnect, kDisconnect, kLive, kStop, kSet, kRec, kStopRec};
    for (const Case& c : cases) {
        const auto state = Fold(DeviceButtonSteps(c.in));
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(Of(state, ids[i]), c.expected[i])
                << "button " << ids[i] << " with " << Describe(c.in);
        }
    }
}

TEST(MainWindowRules, LockButtonsOnlyForTheAdminRoleUnderTheLock) {
    for (int id : {kAdd, kDelete, kAdmin}) {
        EXPECT_EQ(Of(Fold(LockButtonSteps(true, 1)), id), "E-");
        EXPECT_EQ(Of(Fold(LockButtonSteps(true, 2)), id), "D-");
        EXPECT_EQ(Of(Fold(LockButtonSteps(false, 2)), id), "--");
    }
}

namespace {

// The grid of the normal layout on a window at (0, 0): (30, 35) to (780, 627).
constexpr CHoverTitle::Rect kGrid{30, 35, 780, 627};

CHoverTitle::Tick TickAt(int x, int y, int cell = 7, int key = 102, int cell_height = 74) {
    return {{x, y}, {x, y}, kGrid, cell, key, cell_height};
}

}  // namespace

TEST(MainWindowRules, HoverTitleOpensBesideThePointerAndFlipsAtTheGridsEdges) {
    struct Case {
        int x;
        int y;
        int popup_x;
        int popup_y;
    };
    const Case cases[] = {
        {100, 100, 100, 174},  // room right and below
        {645, 100, 645, 174},  // 645 + 135 reaches the right edge exactly
        {646, 100, 511, 174},  // one more passes it
        {100, 541, 100, 615},  // 541 + 74 + 12 reaches the bottom
        {100, 542, 100, 468},  // one more passes it: above the pointer
        {700, 600, 565, 526},  // both edges
    };
    for (const Case& c : cases) {
        CHoverTitle hover;
        EXPECT_FALSE(hover.OnTick(TickAt(c.x, c.y)));  // the pointer must rest a tick
        const auto popup = hover.OnTick(TickAt(c.x, c.y));
        ASSERT_TRUE(popup) << c.x << "," << c.y;
        EXPECT_EQ(*popup, (CHoverTitle::Popup{c.popup_x, c.popup_y, 135, 14, 7}))
            << c.x << "," << c.y;
        EXPECT_TRUE(hover.Shown());
    }
}

TEST(MainWindowRules, HoverTitleNeedsARestingPointerOverACameraInsideTheGrid) {
    struct Case {
        CHoverTitle::Tick tick;
        const char* why;
    };
    const Case refused[] = {
        {TickAt(30, 100), "on the grid's left edge"},
        {TickAt(100, 627), "on its bottom edge"},
        {TickAt(100, 100, -1), "over no cell"},
        {TickAt(100, 100, 7, -1), "over a cell without a camera"},
    };
    for (const Case& c : refused) {
        CHoverTitle hover;
        hover.OnTick(c.tick);
        EXPECT_FALSE(hover.OnTick(c.tick)) << c.why;
    }

    CHoverTitle hover;
    hover.OnTick(TickAt(100, 100));
    EXPECT_FALSE(hover.OnTick(TickAt(101, 100))) << "the pointer moved";
    ASSERT_TRUE(hover.OnTick(TickAt(101, 100)));

    // Shown: nothing new while the pointer stays over the cell or leaves the grid; a move to
    // another cell gives it up, and the next pop-up needs a resting pointer again.
    EXPECT_FALSE(hover.OnTick(TickAt(120, 110)));
    EXPECT_FALSE(hover.OnTick(TickAt(900, 110, -1)));
    EXPECT_TRUE(hover.Shown());
    EXPECT_FALSE(hover.OnTick(TickAt(200, 110, 8)));
    EXPECT_FALSE(hover.Shown());
    EXPECT_FALSE(hover.OnTick(TickAt(201, 110, 8)));
    const auto next = hover.OnTick(TickAt(201, 110, 8));
    ASSERT_TRUE(next);
    EXPECT_EQ(next->cell, 8);
}

TEST(MainWindowRules, LoginFailuresNameTheDeviceAndTheirCause) {
    LanguageSelect texts;
    texts.Load(SUITE_SOURCE_DIR "/common/settings", "language/english.txt");
    const struct {
        int result;
        const char* text;
    } cases[] = {
        {-4,
         "Yard: The user is more than the correct or required number, wait a moment linking up "
         "please. .\n"},
        {-3, "Yard: Super user is handled in course of,Wait a moment linking up please..\n"},
        {-2, "Yard: The user or the password is wrong\n"},
        {-1005, "Yard: Connect error!\n"},
        {-1, "Yard: Net Error!\n"},
        {-5, "Yard: Net Error!\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoginFailureText(c.result, "Yard", texts), c.text) << c.result;
    EXPECT_EQ(LostLinkText("Yard", texts),
              "Yard: The network is disconnected extraordinarily or is disconnected by the "
              "server\n");
}
