// The installed Oculan as its own process in a real X window (a virtual X server), against the
// emulator program: the window as the table lays it out, each camera's picture in its cell.
#include <gtest/gtest.h>

#include <filesystem>

#include "LiveViewIds.h"
#include "MainWindowLayout.h"
#include "OculanScreen.h"
#include "RealWindow.h"
#include "SuiteCopy.h"
#include "TestFolder.h"
#include "UserStore.h"

namespace {

using namespace live_view_id;
namespace fs = std::filesystem;

constexpr int kLimit_ms = 60000;
// The emulator's pictures of a CIF camera, 576 lines.
constexpr int kPictureWidth = 352;
constexpr int kPictureHeight = 288;

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

}  // namespace

TEST(OculanRealWindow, ShowsEveryControlInPlaceAndEachCameraInItsCell) {
    EmulatorProgram emulator(
        "[emulator]\nrecorders = 1\nsandbox = ${FOLDER}/sandbox\n"
        "[recorder1]\nport = 0\ntype = 1016\ncodec = h264\nsize = 2\n"
        "users = ADMIN:admin:2\n");
    ASSERT_TRUE(emulator.Ok()) << emulator.Output();
    TestFolder folder;
    const fs::path program = CopyInstalledOculan(SUITE_TREE_DIR "/ClientSoftware", folder.Path());
    ASSERT_FALSE(program.empty());
    ASSERT_TRUE(WriteDeviceStore(
        folder.Path(), {"127.0.0.1:" + std::to_string(emulator.Port(0)) + ",ADMIN,admin,Front"}));
    const QString skins = QString::fromStdString((program.parent_path() / "skin1").string());

    XvfbServer xvfb(1280, 1024);
    ASSERT_TRUE(xvfb.Ok());
    ChildProcess oculan(program.string(), {},
                        {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}});
    std::optional<QRect> window;
    ASSERT_TRUE(WaitUntil(
        [&] { return (window = FindWindow(xvfb.Display(), "Oculan")).has_value(); }, kLimit_ms))
        << oculan.Output();
    EXPECT_EQ(*window, QRect(0, 0, 1024, 738));

    // Idle: once the button timer ran, every shown button wears its art where the table says.
    std::vector<int> misplaced;
    EXPECT_TRUE(WaitUntil(
        [&] {
            misplaced = MisplacedButtons(GrabScreen(xvfb.Display()), window->topLeft(), skins,
                                         {kDisconnect, kStopRec});
            return misplaced.empty();
        },
        kLimit_ms))
        << "first misplaced: " << misplaced.front();
    SaveScreenshot(GrabScreen(xvfb.Display(), *window), "oculan-idle");

    Click(xvfb.Display(), window->topLeft() + Middle(kConnect));
    const std::vector<QRect> cells = GridVideoRects(window->topLeft(), 16);
    QImage screen;
    ASSERT_TRUE(WaitUntil(
        [&] {
            screen = GrabScreen(xvfb.Display());
            for (int i = 0; i < 16; ++i) {
                if (ChannelOfPicture(screen, cells[i]) != i) return false;
            }
            return true;
        },
        kLimit_ms))
        << "the cameras never all showed; " << oculan.Output();
    SaveScreenshot(GrabScreen(xvfb.Display(), *window), "oculan-live");
    for (int i = 0; i < 16; ++i) {
        EXPECT_GT(PictureMatch(screen, cells[i], i, kPictureWidth, kPictureHeight), 0.97)
            << "cell " << i << " does not show camera " << i + 1 << "'s picture";
    }
    // Streaming as the super user: DISCONNECT in CONNECT's place, the tree's green monitor.
    EXPECT_TRUE(WaitUntil(
        [&] {
            screen = GrabScreen(xvfb.Display());
            misplaced = MisplacedButtons(screen, window->topLeft(), skins, {kConnect, kStopRec});
            return misplaced.empty();
        },
        kLimit_ms))
        << "first misplaced: " << misplaced.front();
    EXPECT_EQ(TreeImages(screen, window->topLeft(), TreeIcons(program.parent_path())),
              (std::vector<int>{0, 3}));

    Click(xvfb.Display(), window->topLeft() + Middle(kExit));
    const std::optional<int> status = oculan.WaitForExit(kLimit_ms);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(*status, 0);
    UserStoreContent stored;
    EXPECT_TRUE(IsLoaded(CUserStore((folder.Path() / "uss.dat").string()).Load(stored)));
    EXPECT_EQ(stored.devices.GetDvrCount(), 1);
}
