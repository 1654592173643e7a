#include <gtest/gtest.h>

#include "tests/support/realwindow/RealWindow.h"

namespace {

ChildProcess::Environment OnScreen(const XvfbServer& xvfb) {
    return {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}};
}

}  // namespace

// The harness sees what a program draws where it put it, and types into it as a user would.
TEST(RealWindowTest, SeesAndDrivesAProgramOnItsOwnScreen) {
    XvfbServer xvfb(640, 480);
    ASSERT_TRUE(xvfb.Ok());
    ChildProcess probe(PROBE_WINDOW_PROGRAM, {}, OnScreen(xvfb));
    std::optional<QRect> window;
    ASSERT_TRUE(PollUntil([&] {
        return (window = FindWindow(xvfb.Display(), "probe")).has_value();
    })) << probe.Output();
    EXPECT_EQ(*window, QRect(40, 30, 300, 200));
    ASSERT_TRUE(
        PollUntil([&] { return GrabScreen(xvfb.Display()).pixel(300, 200) == qRgb(200, 40, 30); }));

    Click(xvfb.Display(), window->topLeft() + QPoint(20, 20));
    TypeText(xvfb.Display(), "Ab1:_ x");
    PressKey(xvfb.Display(), "Return");
    std::vector<std::string> groups;
    ASSERT_TRUE(probe.WaitForOutput(std::regex("typed: (.*)\n"), 20000, &groups)) << probe.Output();
    EXPECT_EQ(groups[1], "Ab1:_ x");
}

TEST(RealWindowTest, EmulatorProgramReportsItsFreePorts) {
    EmulatorProgram emulator(
        "[emulator]\nrecorders = 2\nlookup_port = 0\nsandbox = ${FOLDER}/sandbox\n"
        "[recorder1]\nport = 0\nchannels = 1\n[recorder2]\nport = 0\nchannels = 1\n");
    ASSERT_TRUE(emulator.Ok()) << emulator.Output();
    EXPECT_EQ(emulator.RecorderCount(), 2u);
    EXPECT_NE(emulator.Port(0), emulator.Port(1));
    EXPECT_TRUE(emulator.LookupPort().has_value());
}
