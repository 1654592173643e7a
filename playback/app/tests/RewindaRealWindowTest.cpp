// The installed Rewinda in a real X window against the emulator program: log in, search the
// day, look at the timeline it marks, play a span into the four panes and open the backup.
#include <gtest/gtest.h>

#include <QDate>
#include <filesystem>
#include <fstream>

#include "tests/support/TestFolder.h"
#include "tests/support/realwindow/RealWindow.h"

namespace {

namespace fs = std::filesystem;

// The program copied with its files into a folder of its own, so its settings file is the
// test's: the program finds everything beside its own executable.
fs::path InstallCopy(const fs::path& folder, int recorder_port) {
    const fs::path tree = SUITE_TREE_DIR "/ClientSoftware";
    const fs::path client = folder / "ClientSoftware";
    fs::create_directories(client / "config");
    fs::copy_file(tree / "Rewinda", client / "Rewinda");
    for (const char* entry : {"skin3", "res", "language"}) {
        fs::create_directory_symlink(tree / entry, client / entry);
    }
    for (const char* overlay : {"channel.yuv", "cif_8_channel.yuv"}) {
        fs::copy_file(tree / "config" / overlay, client / "config" / overlay);
    }
    std::ofstream(client / "config" / "config.ini")
        << "[ServerInfo]\nLanguage=english\nCur_Id=1\nip0=127.0.0.1:" << recorder_port
        << ":admin\n";
    return client / "Rewinda";
}

bool ShowsColour(const QImage& screen, const QRect& area, QRgb colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if ((screen.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
        }
    }
    return false;
}

// The camera (from 1) whose colour shows at a point of the screen, 0 for none: the
// emulator's colours of cameras 1 to 4 as the display draws them.
int CameraAt(const QImage& screen, QPoint at) {
    const QRgb colours[] = {qRgb(255, 1, 0), qRgb(0, 255, 1), qRgb(0, 0, 255), qRgb(0, 255, 255)};
    const QRgb pixel = screen.pixel(at);
    for (int camera = 1; camera <= 4; ++camera) {
        const QRgb c = colours[camera - 1];
        if (std::abs(qRed(pixel) - qRed(c)) + std::abs(qGreen(pixel) - qGreen(c)) +
                std::abs(qBlue(pixel) - qBlue(c)) <
            40) {
            return camera;
        }
    }
    return 0;
}

}  // namespace

TEST(RewindaRealWindow, LogsInSearchesTheDayAndMarksTheTimeline) {
    // Four cameras that recorded today and the two days before, each at its own hours.
    EmulatorProgram emulator(
        "[emulator]\nrecorders = 1\nsandbox = ${FOLDER}/sandbox\n"
        "[recorder1]\nport = 0\ntype = 4\nsize = 2\nusers = admin:admin:2\n"
        "schedule = 00:30-07:45/0x1; 08:00-12:00/0x3; 13:10-13:40/0x4; 15:00-23:10/0x9; "
        "19:00-19:20/0x2; 21:00-21:30/0xF\nrecord_days = 3\n");
    ASSERT_TRUE(emulator.Ok()) << emulator.Output();
    TestFolder folder;
    const fs::path program = InstallCopy(folder.Path(), emulator.Port(0));

    XvfbServer xvfb(1280, 1024);
    ASSERT_TRUE(xvfb.Ok());
    const std::string display = xvfb.Display();
    ChildProcess rewinda(program.string(), {}, {{"DISPLAY", display}, {"QT_QPA_PLATFORM", "xcb"}});
    std::optional<QRect> window;
    ASSERT_TRUE(PollUntil([&] { return (window = FindWindow(display, "Rewinda")).has_value(); }))
        << rewinda.Output();
    EXPECT_EQ(window->size(), QSize(1024, 738));
    const QPoint origin = window->topLeft();
    // The background is painted once the start-up repaint has run.
    ASSERT_TRUE(
        PollUntil([&] { return GrabScreen(display, *window).pixel(900, 400) != qRgb(0, 0, 0); }));
    SaveScreenshot(GrabScreen(display, *window), "rewinda_start");

    // LOGIN; until the first look at the link LOGOUT lies over it, so a click may miss.
    std::optional<QRect> login;
    ASSERT_TRUE(PollUntil([&] {
        Click(display, origin + QPoint(856 + 32, 50 + 25));
        return PollUntil([&] { return (login = FindWindow(display, "Login")).has_value(); }, 5000);
    })) << rewinda.Output();
    // Painted: its light ground shows.
    ASSERT_TRUE(PollUntil([&] { return qGray(GrabScreen(display, *login).pixel(5, 5)) > 150; }));
    SaveScreenshot(GrabScreen(display, *login), "rewinda_login");
    Click(display, login->topLeft() + QPoint(70 + 90, 86 + 10));  // password
    TypeText(display, "admin");
    PressKey(display, "Return");

    // Today's records of camera 1 (row 0) fill 08:00 to 12:00 on the timeline.
    const QRect morning(origin + QPoint(21 + 45 + 681 * 100 / 288, 660 + 5), QSize(20, 8));
    const QRgb bar = qRgb(0x97, 0x69, 0x9E);
    ASSERT_TRUE(PollUntil([&] { return ShowsColour(GrabScreen(display), morning, bar); }))
        << rewinda.Output();
    // Cameras 2, 3 and 4 into rows 1 to 3 through the boxes' lists: a search each.
    const auto slot_area = [&](int row, int slot) {
        return QRect(origin + QPoint(21 + 45 + 681 * slot / 288, 660 + 17 * row + 5), QSize(3, 8));
    };
    const std::pair<int, int> row_slots[] = {{1, 120}, {2, 160}, {3, 240}};  // 10:00, 13:20, 20:00
    for (const auto& row_slot : row_slots) {
        const int row = row_slot.first;  // named apart: lambdas below take them
        const int slot = row_slot.second;
        // The box's list drops open over the dark panel below it.
        const QPoint box = origin + QPoint(780 + 53 * row + 25, 300 + 10);
        ASSERT_TRUE(PollUntil([&] {
            Click(display, box);
            return PollUntil(
                [&] { return qGray(GrabScreen(display).pixel(box + QPoint(0, 30))) > 150; }, 5000);
        })) << "row "
            << row;
        if (row == 3) SaveScreenshot(GrabScreen(display, *window), "rewinda_camera_list");
        for (int step = 0; step <= row; ++step)
            PressKey(display, "Down");
        PressKey(display, "Return");
        ASSERT_TRUE(PollUntil([&] {
            return ShowsColour(GrabScreen(display), slot_area(row, slot), bar);
        })) << "row "
            << row;
    }
    EXPECT_TRUE(ShowsColour(GrabScreen(display), slot_area(0, 200), bar));
    EXPECT_FALSE(ShowsColour(GrabScreen(display), slot_area(2, 120), bar));
    SaveScreenshot(GrabScreen(display, *window), "rewinda_timeline");

    // The slider let go at about 21:15, where all four cameras recorded, then PLAY: each
    // camera in its pane, its name stamped in by the overlay (type 4).
    // The thumb (26 pixels wide) centres on the minute along the slider's 703 pixels.
    Click(display, origin + QPoint(55 + 13 + (703 - 26) * 1275 / 1440, 625 + 15));
    Click(display, origin + QPoint(760 + 30, 636 + 20));
    const auto pane_point = [&](int pane) {
        return origin + QPoint(21 + (pane % 2) * 363 + 300, 20 + (pane / 2) * 303 + 40);
    };
    const bool playing = PollUntil([&] {
        const QImage screen = GrabScreen(display);
        for (int pane = 0; pane < 4; ++pane) {
            if (CameraAt(screen, pane_point(pane)) != pane + 1) return false;
        }
        return true;
    });
    SaveScreenshot(GrabScreen(display, *window), "rewinda_playing");
    ASSERT_TRUE(playing) << rewinda.Output();

    // BACKUP stops the playback and opens its dialog; Esc cancels it.
    Click(display, origin + QPoint(894 + 28, 520 + 18));
    std::optional<QRect> backup;
    ASSERT_TRUE(PollUntil([&] { return (backup = FindWindow(display, "BackUp")).has_value(); }))
        << rewinda.Output();
    ASSERT_TRUE(PollUntil([&] { return qGray(GrabScreen(display, *backup).pixel(5, 5)) > 150; }));
    SaveScreenshot(GrabScreen(display, *backup), "rewinda_backup");
    PressKey(display, "Escape");
    ASSERT_TRUE(PollUntil([&] { return !FindWindow(display, "BackUp"); }));

    Click(display, origin + QPoint(930 + 36, 660 + 36));  // EXIT
    EXPECT_EQ(rewinda.WaitForExit(kPollLimit_ms), 0) << rewinda.Output();
}
