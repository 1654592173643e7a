#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QWidget>
#include <thread>
#include <vector>

#include "platform/ddraw/DDrawCtrl.h"

namespace {

// 4 x 2 packed picture: top row studio red, bottom row studio blue.
std::vector<unsigned char> RedOverBlue() {
    return {81, 90, 81, 240, 81, 90, 81, 240, 41, 240, 41, 110, 41, 240, 41, 110};
}

bool IsRed(QRgb c) { return qRed(c) > 240 && qGreen(c) < 16 && qBlue(c) < 16; }
bool IsBlue(QRgb c) { return qBlue(c) > 240 && qRed(c) < 16 && qGreen(c) < 16; }

}  // namespace

TEST(DDrawCtrlTest, WithoutAWindowItFailsAndDrawsNothing) {
    DDrawCtrl display;
    EXPECT_LT(display.InitDDraw(nullptr, 1, 2), 0);
    auto picture = RedOverBlue();
    EXPECT_EQ(display.ShowPic(0, {0, 0, 8, 4}, 4, 2, picture.data()), -1);
}

TEST(DDrawCtrlTest, APictureFromAFrameThreadLandsUprightAndScaled) {
    QWidget window;
    window.resize(240, 180);
    window.move(50, 40);
    auto* pane = new QWidget(&window);
    pane->setGeometry(20, 10, 160, 120);
    window.show();

    DDrawCtrl display;
    ASSERT_EQ(display.InitDDraw(pane, 1, 2), 0);
    const QPoint origin = pane->mapToGlobal(QPoint(0, 0));
    const ScreenRect dest{origin.x(), origin.y(), origin.x() + 160, origin.y() + 120};
    auto picture = RedOverBlue();
    int rows = 0;
    std::thread frame_thread([&] { rows = display.ShowPic(0, dest, 4, 2, picture.data()); });
    frame_thread.join();
    EXPECT_EQ(rows, 120);
    QApplication::processEvents();

    const QImage shot = window.grab().toImage();
    EXPECT_TRUE(IsRed(shot.pixel(20, 10)));
    EXPECT_TRUE(IsRed(shot.pixel(179, 69)));
    EXPECT_TRUE(IsBlue(shot.pixel(20, 70)));
    EXPECT_TRUE(IsBlue(shot.pixel(179, 129)));
    EXPECT_FALSE(IsRed(shot.pixel(19, 10)));
    EXPECT_FALSE(IsBlue(shot.pixel(180, 129)));
}
