// The installed Oculan as its own process in a real X window (a virtual X server), against the
// emulator program: the window as the table lays it out, each camera's picture in its cell.
#include <gtest/gtest.h>

#include <QRegion>
#include <filesystem>
#include <optional>

#include "liveview/core/store/UserStore.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/core/window/MainWindowLayout.h"
#include "tests/support/TestFolder.h"
#include "tests/support/realwindow/RealWindow.h"
#include "tools/oculan-watch/OculanScreen.h"
#include "tools/oculan-watch/SuiteCopy.h"

namespace {

using namespace live_view_id;
namespace fs = std::filesystem;

// The emulator's pictures of a CIF camera, 576 lines.
constexpr int kPictureWidth = 352;
constexpr int kPictureHeight = 288;
constexpr int kRecorders = 4;
constexpr int kAllDvrLayout = 64;
// The device view hides the layouts of the all-devices view.
const std::vector<int> kAllDvrLayouts = {kWindow25, kWindow36, kWindow64, kWindow144, kWindow256};
const QPoint kRootItem(810 + 40, 280 + 10);

// Camera c of device d, as the all-devices view's cell placed for it.
int CellOfCamera(int device, int channel) { return channel * kRecorders + device; }

// The store's window map: all 64 cameras, each recorder's spread over every fourth cell.
bool PlaceEveryCamera(const fs::path& store_path) {
    CUserStore store(store_path.string());
    UserStoreContent content;
    if (!IsLoaded(store.Load(content))) return false;
    for (int d = 0; d < kRecorders; ++d) {
        for (int c = 0; c < 16; ++c)
            content.window_map[CellOfCamera(d, c)] = MakeChannelKey(d, c);
    }
    return store.Save(content) == 1;
}

std::vector<int> Joined(std::vector<int> ids, const std::vector<int>& more) {
    ids.insert(ids.end(), more.begin(), more.end());
    return ids;
}

QPoint Middle(int id) {
    const MainWindowControl& c = *FindMainWindowControl(id);
    return {c.x + c.width / 2, c.y + c.height / 2};
}

std::array<QImage, 4> TreeIcons(const fs::path& client) {
    std::array<QImage, 4> icons;
    const int ids[] = {138, 139, 140, 162};
    for (int i = 0; i < 4; ++i) {
        icons[i] =
            QImage(QString::fromStdString(
                       (client / "res" / ("icon" + std::to_string(ids[i]) + ".png")).string()))
                .convertToFormat(QImage::Format_ARGB32);
    }
    return icons;
}

// Pixels of the window, outside the grid and the buttons the pointer rested on, that differ.
int ChangedOutsideTheGrid(const QImage& before, const QImage& after) {
    QRegion compared(QRect(0, 0, 1024, 735));
    for (int id : {kGrid, kConnect, kFullWindow}) {
        const MainWindowControl& c = *FindMainWindowControl(id);
        compared -= QRect(c.x, c.y, c.width, c.height);
    }
    int changed = 0;
    for (const QRect& area : compared) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (before.pixel(x, y) != after.pixel(x, y)) ++changed;
            }
        }
    }
    return changed;
}

void ExpectFullWindowLeavesNothingOutsideTheGrid(XvfbServer& xvfb, const QRect& window,
                                                 const QImage& before) {
    Click(xvfb.Display(), window.topLeft() + Middle(kFullWindow));
    const QRect screen_rect(0, 0, 1280, 1024);
    std::vector<QRect> full_cells;
    for (int i = 0; i < 16; ++i) {
        const int w = screen_rect.width() / 4;
        const int h = screen_rect.height() / 4;
        full_cells.emplace_back((i % 4) * w + 2, (i / 4) * h + 14, w - 4, h - 16);
    }
    const auto every_camera_in = [&](const std::vector<QRect>& cells) {
        return PollUntil([&] {
            const QImage screen = GrabScreen(xvfb.Display());
            for (int i = 0; i < 16; ++i) {
                if (ChannelOfPicture(screen, cells[i]) != i) return false;
            }
            return true;
        });
    };
    EXPECT_TRUE(every_camera_in(full_cells)) << "full window never showed every camera";
    SaveScreenshot(GrabScreen(xvfb.Display()), "oculan-full-window");

    PressKey(xvfb.Display(), "Escape");
    std::optional<QRect> back;
    ASSERT_TRUE(PollUntil([&] {
        back = FindWindow(xvfb.Display(), "Oculan");
        return back && back->size() == QSize(1024, 735);
    }));
    EXPECT_TRUE(every_camera_in(GridVideoRects(back->topLeft(), 16)))
        << "the cameras never came back into the grid";
    const QImage after = GrabScreen(xvfb.Display(), *back);
    SaveScreenshot(after, "oculan-after-full-window");
    EXPECT_EQ(ChangedOutsideTheGrid(before, after), 0);
}

}  // namespace

TEST(OculanRealWindow, ShowsEveryControlInPlaceAndEachCameraInItsCell) {
    std::string recorders = "[emulator]\nrecorders = 4\nsandbox = ${FOLDER}/sandbox\n";
    for (int r = 1; r <= kRecorders; ++r) {
        recorders += "[recorder" + std::to_string(r) +
                     "]\nport = 0\ntype = 1016\ncodec = h264\nsize = 2\nusers = ADMIN:admin:2\n";
    }
    EmulatorProgram emulator(recorders);
    ASSERT_TRUE(emulator.Ok()) << emulator.Output();
    TestFolder folder;
    const fs::path program = CopyInstalledOculan(SUITE_TREE_DIR "/ClientSoftware", folder.Path());
    ASSERT_FALSE(program.empty());
    std::vector<std::string> devices;
    for (int r = 0; r < kRecorders; ++r) {
        devices.push_back("127.0.0.1:" + std::to_string(emulator.Port(r)) + ",ADMIN,admin,Front" +
                          std::to_string(r + 1));
    }
    ASSERT_TRUE(WriteDeviceStore(folder.Path(), devices));
    ASSERT_TRUE(PlaceEveryCamera(folder.Path() / "uss.dat"));
    const QString skins = QString::fromStdString((program.parent_path() / "skin1").string());

    XvfbServer xvfb(1280, 1024);
    ASSERT_TRUE(xvfb.Ok());
    ChildProcess oculan(program.string(), {},
                        {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}});
    std::optional<QRect> window;
    ASSERT_TRUE(PollUntil([&] {
        return (window = FindWindow(xvfb.Display(), "Oculan")).has_value();
    })) << oculan.Output();
    EXPECT_EQ(*window, QRect(0, 0, 1024, 738));

    // Idle: once the button timer ran, every shown button wears its art where the table says.
    std::vector<int> misplaced;
    EXPECT_TRUE(PollUntil([&] {
        // Device 0 is selected, not yet linked: its pad lies under the cover plate.
        misplaced = MisplacedButtons(
            GrabScreen(xvfb.Display()), window->topLeft(), skins,
            Joined({kDisconnect, kStopRec, kUp, kLeft, kRight, kDown, kEnter, kIrisOpen, kIrisClose,
                    kFocusNear, kFocusFar, kZoomIn, kZoomOut, kAuto},
                   kAllDvrLayouts));
        return misplaced.empty();
    })) << "first misplaced: "
        << misplaced.front();
    SaveScreenshot(GrabScreen(xvfb.Display(), *window), "oculan-idle");

    Click(xvfb.Display(), window->topLeft() + Middle(kConnect));
    const std::vector<QRect> cells = GridVideoRects(window->topLeft(), 16);
    QImage screen;
    ASSERT_TRUE(PollUntil([&] {
        screen = GrabScreen(xvfb.Display());
        for (int i = 0; i < 16; ++i) {
            if (ChannelOfPicture(screen, cells[i]) != i) return false;
        }
        return true;
    })) << "the cameras never all showed; "
        << oculan.Output();
    SaveScreenshot(GrabScreen(xvfb.Display(), *window), "oculan-live");
    for (int i = 0; i < 16; ++i) {
        EXPECT_GT(PictureMatch(screen, cells[i], i, kPictureWidth, kPictureHeight), 0.97)
            << "cell " << i << " does not show camera " << i + 1 << "'s picture";
    }
    // Streaming as the super user: DISCONNECT in CONNECT's place, the tree's green monitor.
    EXPECT_TRUE(PollUntil([&] {
        screen = GrabScreen(xvfb.Display());
        misplaced = MisplacedButtons(screen, window->topLeft(), skins,
                                     Joined({kConnect, kStopRec}, kAllDvrLayouts));
        return misplaced.empty();
    })) << "first misplaced: "
        << misplaced.front();
    EXPECT_EQ(TreeImages(screen, window->topLeft(), TreeIcons(program.parent_path())),
              (std::vector<int>{0, 3, 2, 2, 2}));

    // Full window and back on Esc: every camera fills the screen's cells, and once the window is
    // back nothing drawn meanwhile stays outside the grid (over the pad, along the edges).
    ExpectFullWindowLeavesNothingOutsideTheGrid(xvfb, *window, GrabScreen(xvfb.Display(), *window));

    // The all-devices view: the root's CONNECT links the other devices, and at 64 cells every
    // camera shows in the cell the window map gives it.
    Click(xvfb.Display(), window->topLeft() + kRootItem);
    ASSERT_TRUE(PollUntil([&] {
        return MisplacedButtons(GrabScreen(xvfb.Display()), window->topLeft(), skins,
                                {kDisconnect, kStopRec})
            .empty();
    })) << "the all-devices view's buttons never showed";
    Click(xvfb.Display(), window->topLeft() + Middle(kConnect));
    Click(xvfb.Display(), window->topLeft() + Middle(kWindow64));
    const std::vector<QRect> small_cells = GridVideoRects(window->topLeft(), kAllDvrLayout);
    std::vector<int> wrong;
    const bool all_shown = PollUntil([&] {
        screen = GrabScreen(xvfb.Display());
        wrong.clear();
        for (int d = 0; d < kRecorders; ++d) {
            for (int c = 0; c < 16; ++c) {
                if (ChannelOfPicture(screen, small_cells[CellOfCamera(d, c)]) != c)
                    wrong.push_back(CellOfCamera(d, c));
            }
        }
        return wrong.empty();
    });
    SaveScreenshot(GrabScreen(xvfb.Display(), *window), "oculan-all-devices-64");
    ASSERT_TRUE(all_shown) << wrong.size() << " cells without their camera, first " << wrong[0];
    EXPECT_EQ(TreeImages(screen, window->topLeft(), TreeIcons(program.parent_path())),
              (std::vector<int>{0, 3, 3, 3, 3}));

    Click(xvfb.Display(), window->topLeft() + Middle(kExit));
    const std::optional<int> status = oculan.WaitForExit(kPollLimit_ms);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    UserStoreContent stored;
    EXPECT_TRUE(IsLoaded(CUserStore((folder.Path() / "uss.dat").string()).Load(stored)));
    EXPECT_EQ(stored.devices.GetDvrCount(), kRecorders);
    EXPECT_EQ(stored.window_map[CellOfCamera(3, 15)], MakeChannelKey(3, 15));
}
