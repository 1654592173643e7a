#include <gtest/gtest.h>

#include "tests/support/realwindow/RealWindow.h"

namespace {

struct Shot {
    const char* name;
    const char* title;
    QSize client;       // the template's size; no window manager runs, so no frame
    QPoint inked = {};  // a screen point that must not show the window's background, if any
};

}  // namespace

// Each dialog in a real X window, as the operator sees it; the pictures go to
// build/screenshots/liveview-dialog-<name>.png.
TEST(DialogScreenshots, EachDialogShowsAtItsSize) {
    XvfbServer xvfb(800, 600);
    ASSERT_TRUE(xvfb.Ok());
    const Shot shots[] = {
        {"notice", "notice host", {320, 120}, {104, 106}},
        {"login", "Add", {292, 205}},
        {"lockcheck", "Login", {319, 103}},
        {"admin", "Password Manage", {274, 211}},
        {"password", "Input New Admin Password", {273, 103}},
        {"info", "DVR INFO", {192, 435}},
        {"set:0", "SET", {370, 275}},
        {"set:1", "SET", {370, 275}},
        {"set:2", "SET", {370, 275}},
        {"set:3", "SET", {370, 275}},
        {"set:4", "SET", {370, 275}},
    };
    for (const Shot& shot : shots) {
        ChildProcess showcase(DIALOG_SHOWCASE_PROGRAM, {shot.name},
                              {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}});
        ASSERT_TRUE(showcase.WaitForOutput(std::regex("shown: "), 20000)) << showcase.Output();
        std::optional<QRect> window;
        ASSERT_TRUE(PollUntil([&] {
            return (window = FindWindow(xvfb.Display(), shot.title)).has_value();
        })) << shot.name
            << showcase.Output();
        EXPECT_EQ(window->size(), shot.client) << shot.name;
        // Let the window paint before it is taken.
        const QRect area = window->adjusted(-10, -10, 10, 10) & QRect(0, 0, 800, 600);
        QImage before;
        ASSERT_TRUE(PollUntil([&] {
            const QImage now = GrabScreen(xvfb.Display(), area);
            const QRgb background = now.pixel(window->topLeft() + QPoint(2, 2) - area.topLeft());
            const bool painted = qGray(background) > 0;
            const bool inked =
                shot.inked.isNull() || now.pixel(shot.inked - area.topLeft()) != background;
            const bool settled = !before.isNull() && now == before && painted && inked;
            before = now;
            return settled;
        }));
        const QString file = SaveScreenshot(
            GrabScreen(xvfb.Display(), area),
            QStringLiteral("liveview-dialog-%1").arg(QString(shot.name).replace(':', '-')));
        EXPECT_FALSE(file.isEmpty());
    }
}
