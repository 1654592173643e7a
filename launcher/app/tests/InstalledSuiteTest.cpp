#include <gtest/gtest.h>

#include "launcher/app/tests/StandInProgram.h"
#include "tests/support/TestFolder.h"
#include "tests/support/realwindow/RealWindow.h"

namespace fs = std::filesystem;

// The suite installs into an empty folder, runs after the folder moved, and its launcher shows
// its skin from there and starts a program of the moved tree.
TEST(InstalledSuiteTest, InstalledSuiteRunsFromWhereverItIsMoved) {
    TestFolder folder;
    const fs::path stage = folder.Path() / "stage";
    ChildProcess install(SUITE_CMAKE_COMMAND, {"--install", SUITE_BUILD_DIR, "--prefix", stage});
    ASSERT_EQ(install.WaitForExit(kPollLimit_ms), 0) << install.Output();
    const fs::path suite = folder.Path() / "moved here" / "DVR Suite";
    fs::create_directories(suite.parent_path());
    fs::rename(stage / "suite", suite);
    fs::remove_all(stage);

    for (const char* file :
         {"Start", "config/config.ini", "ClientSoftware/config/config.ini",
          "ClientSoftware/config/channel.yuv", "ClientSoftware/config/cif_8_channel.yuv",
          "ClientSoftware/language/english.txt", "ClientSoftware/language/chinese.txt",
          "ClientSoftware/skin1/BACKGROUND.bmp", "ClientSoftware/skin3/BACKGROUND.bmp",
          "ClientSoftware/res/icon138.png", "ClientSoftware/res/Start.png"}) {
        EXPECT_TRUE(fs::is_regular_file(suite / file)) << file;
    }
    // Whichever programs the build has, the installed suite has too.
    for (const char* program : {"Oculan", "Rewinda", "Firmora"}) {
        EXPECT_EQ(fs::exists(suite / "ClientSoftware" / program),
                  fs::exists(fs::path(SUITE_TREE_DIR) / "ClientSoftware" / program))
            << program;
    }
    // The local file player lies outside the suite; a stand-in takes its place.
    const fs::path player = suite / "ClientSoftware" / "PlayBack";
    WriteStandInProgram(player);

    XvfbServer xvfb(1280, 1024);
    ASSERT_TRUE(xvfb.Ok());
    ChildProcess launcher((suite / "Start").string(), {},
                          {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}});
    std::optional<QRect> window;
    ASSERT_TRUE(PollUntil([&] {
        return (window = FindWindow(xvfb.Display(), "Start")).has_value();
    })) << launcher.Output();
    EXPECT_EQ(*window, QRect((1280 - 358) / 2, (1024 - 175) / 2, 358, 175));

    // The ground and the buttons' faces come from the moved tree's skin4; a face shows its
    // image from the image's (2, 2) on.
    const QString skin = QString::fromStdString((suite / "ClientSoftware" / "skin4/").string());
    const QImage background(skin + "BACKGROUND.bmp");
    const QImage live_view(skin + "LOCAL VIEW1.bmp");
    const QPoint ground(5, 160);
    const QPoint face(31, 41);
    QImage shot;
    EXPECT_TRUE(PollUntil([&] {
        shot = GrabScreen(xvfb.Display(), *window);
        return shot.pixel(ground) == background.pixel(ground) &&
               shot.pixel(QPoint(100, 30) + face) == live_view.pixel(face + QPoint(2, 2));
    }));
    SaveScreenshot(shot, QStringLiteral("launcher-installed"));

    // The About item of the window's menu shows the launcher's icon.
    Click(xvfb.Display(), window->topLeft() + ground, 3);
    Click(xvfb.Display(), window->topLeft() + ground + QPoint(12, 10));
    std::optional<QRect> about;
    ASSERT_TRUE(
        PollUntil([&] { return (about = FindWindow(xvfb.Display(), "About Start")).has_value(); }));
    SaveScreenshot(GrabScreen(xvfb.Display(), about->united(*window)),
                   QStringLiteral("launcher-about"));
    PressKey(xvfb.Display(), "Return");
    ASSERT_TRUE(PollUntil([&] { return !FindWindow(xvfb.Display(), "About Start"); }));

    Click(xvfb.Display(), window->topLeft() + QPoint(20, 30) + face);
    EXPECT_EQ(launcher.WaitForExit(kPollLimit_ms), 0) << launcher.Output();
    EXPECT_TRUE(PollUntil([&] { return !StandInRecord(player).empty(); }));
    EXPECT_EQ(StandInRecord(player), "0\n");
}
