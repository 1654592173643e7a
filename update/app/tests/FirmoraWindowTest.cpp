#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/realwindow/RealWindow.h"

namespace {

// Waits for a top-level window of this title; its screen rectangle.
std::optional<QRect> WaitForWindow(const XvfbServer& xvfb, const std::string& title) {
    std::optional<QRect> window;
    PollUntil([&] { return (window = FindWindow(xvfb.Display(), title)).has_value(); });
    return window;
}

// Clicks into a field and types its new text.
void Retype(const XvfbServer& xvfb, QPoint field, const std::string& text) {
    Click(xvfb.Display(), field);
    PressKey(xvfb.Display(), "End");
    for (int i = 0; i < 40; ++i)
        PressKey(xvfb.Display(), "BackSpace");
    TypeText(xvfb.Display(), text);
}

// Black letters on the white page: a window not painted yet is black all over, so the page
// must show as well.
bool HasInk(const QImage& image, const QRect& area) {
    bool ink = false;
    bool page = false;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            ink = ink || image.pixel(x, y) == qRgb(0, 0, 0);
            page = page || image.pixel(x, y) == qRgb(255, 255, 255);
        }
    return ink && page;
}

}  // namespace

// The installed update tool on a screen of its own: log in to the emulator program, draw the
// titles, send them.
TEST(FirmoraWindowTest, LogsInDrawsAndSendsTheTitles) {
    EmulatorProgram emulator(
        "[emulator]\nrecorders = 1\nsandbox = ${FOLDER}/sandbox\n"
        "[recorder1]\nport = 0\ntype = 1016\nchannels = 1\nloop_frames = 2\n"
        "users = ADMIN:admin:2\n");
    ASSERT_TRUE(emulator.Ok()) << emulator.Output();
    XvfbServer xvfb(1024, 768);
    ASSERT_TRUE(xvfb.Ok());
    ChildProcess firmora(SUITE_TREE_DIR "/ClientSoftware/Firmora", {},
                         {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}});
    const auto main = WaitForWindow(xvfb, "Update Tool");
    ASSERT_TRUE(main) << firmora.Output();
    const QPoint at = main->topLeft();

    Click(xvfb.Display(), at + QPoint(80, 60));  // CONNECT
    const auto login = WaitForWindow(xvfb, "Login");
    ASSERT_TRUE(login) << firmora.Output();
    SaveScreenshot(GrabScreen(xvfb.Display(), login->united(*main)), "firmora-login");
    Retype(xvfb, login->topLeft() + QPoint(180, 37),
           "127.0.0.1:" + std::to_string(emulator.Port(0)));
    Retype(xvfb, login->topLeft() + QPoint(180, 67), "admin");
    Retype(xvfb, login->topLeft() + QPoint(180, 97), "admin");
    PressKey(xvfb.Display(), "Return");

    // The title button opens once the link poll has seen the log-in.
    std::optional<QRect> titles;
    ASSERT_TRUE(PollUntil([&] {
        Click(xvfb.Display(), at + QPoint(80, 120));
        return (titles = FindWindow(xvfb.Display(), "Channel Modification")).has_value();
    })) << firmora.Output();
    const QPoint d = titles->topLeft();
    const char* names[] = {"Gate", "Lobby 2", "Yard", "Car park"};
    for (int k = 0; k < 4; ++k) {
        Click(xvfb.Display(), d + QPoint(120, 38 + 23 * k));
        TypeText(xvfb.Display(), names[k]);
    }
    Click(xvfb.Display(), d + QPoint(179, 500));  // Preview
    const QRect drawing(252, 12, 240, 384);
    QImage shot;
    ASSERT_TRUE(PollUntil([&] {
        shot = GrabScreen(xvfb.Display(), *titles);
        return HasInk(shot, drawing);
    }));
    SaveScreenshot(shot, "firmora-channel-title");
    SaveScreenshot(shot.copy(drawing).scaled(480, 768), "firmora-preview");

    Click(xvfb.Display(), d + QPoint(367, 478));  // Change Channel Name
    const auto success = WaitForWindow(xvfb, "Firmora");
    ASSERT_TRUE(success) << firmora.Output();
    SaveScreenshot(GrabScreen(xvfb.Display(), success->united(*titles)), "firmora-success");
    PressKey(xvfb.Display(), "Return");
    const auto sent = emulator.Folder() / "sandbox/recorder1/mnt/mtd/yuvfile/Cam_Name_Date.yuv";
    ASSERT_TRUE(PollUntil([&] { return !FindWindow(xvfb.Display(), "Channel Modification"); }));
    EXPECT_EQ(std::filesystem::file_size(sent), 92165u);

    SaveScreenshot(GrabScreen(xvfb.Display(), *main), "firmora-main");
    Click(xvfb.Display(), at + QPoint(225, 120));  // EXIT
    EXPECT_EQ(firmora.WaitForExit(kPollLimit_ms), 0) << firmora.Output();
}
