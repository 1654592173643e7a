#include <QApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMouseEvent>
#include <QTest>

#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinBitmap.h"
#include "common/ui/widgets/SkinButton.h"
#include "common/ui/widgets/tests/WidgetTestSupport.h"

namespace {

const QColor kMarkTopLeft(255, 0, 0);
const QColor kMarkBottomRight(0, 0, 255);

// Pixel (x, y) of the image encodes its position, so a drawn pixel tells where it came from.
QImage PositionImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(x * 6, y * 6, 77));
    }
    return image;
}

void MoveMouse(QWidget& widget, const QPoint& at) {
    QMouseEvent move(QEvent::MouseMove, at, widget.mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(&widget, &move);
}

void LeaveWidget(QWidget& widget) {
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&widget, &leave);
}

}  // namespace

using SkinBitmapTest = SkinFolderTest;

TEST_F(SkinBitmapTest, TilesWholeCopiesFromTheOriginAcrossTheRectanglesExtent) {
    QImage tile = Solid(100, 80, Qt::gray);
    tile.setPixelColor(0, 0, kMarkTopLeft);
    tile.setPixelColor(99, 79, kMarkBottomRight);
    CSkinBitmap background;
    EXPECT_EQ(background.SetFileName(WriteBmp("BACKGROUND.bmp", tile)), 0);
    ASSERT_EQ(background.LoadFromFile(1), 1);
    EXPECT_EQ(background.Width(), 100);
    EXPECT_EQ(background.Height(), 80);

    QImage target = Solid(320, 260, Qt::black);
    QPainter painter(&target);
    EXPECT_EQ(background.Tile(painter, QRect(0, 0, 250, 170)), 1);
    painter.end();
    for (int y : {0, 80, 160}) {
        for (int x : {0, 100, 200})
            EXPECT_EQ(target.pixelColor(x, y), kMarkTopLeft) << x << "," << y;
    }
    EXPECT_EQ(target.pixelColor(299, 239), kMarkBottomRight);  // the last copy is not cut
    EXPECT_EQ(target.pixelColor(300, 0), QColor(Qt::black));
    EXPECT_EQ(target.pixelColor(0, 240), QColor(Qt::black));
}

TEST_F(SkinBitmapTest, TokenZeroAndMissingFilesLeaveNoImage) {
    CSkinBitmap background;
    background.SetFileName(WriteBmp("a.bmp", Solid(30, 20, Qt::red)));
    ASSERT_EQ(background.LoadFromFile(7), 1);
    EXPECT_EQ(background.LoadFromFile(0), 1);
    EXPECT_FALSE(background.IsLoaded());

    background.SetFileName(WriteBmp("b.bmp", Solid(12, 10, Qt::blue)));
    ASSERT_EQ(background.LoadFromFile(1), 1);
    EXPECT_EQ(background.Width(), 12);

    background.SetFileName(Path("missing.bmp"));
    EXPECT_EQ(background.LoadFromFile(1), 0);
    EXPECT_FALSE(background.IsLoaded());
    EXPECT_EQ(background.Width(), 12);  // size of the last image read
    QImage target = Solid(40, 40, Qt::black);
    QPainter painter(&target);
    EXPECT_EQ(background.Tile(painter, target.rect()), 0);
}

using SkinButtonTest = SkinFolderTest;

TEST_F(SkinButtonTest, StateImageFollowsPressedThenDisabledThenHover) {
    CSkinButton button;
    button.resize(40, 40);
    button.SetImages("n.bmp", "p.bmp", "d.bmp", "h.bmp");
    EXPECT_EQ(button.StateImage(), "n.bmp");
    button.setEnabled(false);
    EXPECT_EQ(button.StateImage(), "d.bmp");
    button.setDown(true);
    EXPECT_EQ(button.StateImage(), "p.bmp");  // pressed wins over disabled
    button.setDown(false);
    button.setEnabled(true);
    MoveMouse(button, QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return button.IsHover(); }, 1000));
    EXPECT_EQ(button.StateImage(), "h.bmp");
    button.setEnabled(false);
    EXPECT_EQ(button.StateImage(), "d.bmp");  // disabled under the pointer
}

TEST_F(SkinButtonTest, LeavingAndComingBackReArmsHover) {
    CSkinButton button;
    button.resize(40, 40);
    for (int round = 0; round < 2; ++round) {
        MoveMouse(button, QPoint(10, 20));
        ASSERT_TRUE(QTest::qWaitFor([&] { return button.IsHover(); }, 1000)) << round;
        LeaveWidget(button);
        EXPECT_FALSE(button.IsHover());
    }
}

TEST_F(SkinButtonTest, FortyPixelImageIsReadFromItsPixelTwoTwo) {
    CSkinButton button;
    button.resize(40, 40);
    const QImage art = PositionImage(40, 40);
    const std::string path = WriteBmp("connet1.bmp", art);
    button.SetImages(path, path, path, path);
    button.PreSubclassWindow();
    const QImage face = button.grab().toImage();
    EXPECT_EQ(face.pixel(20, 20), art.pixel(22, 22));
    EXPECT_EQ(face.pixel(5, 20), art.pixel(7, 22));
}

TEST_F(SkinButtonTest, ThreeDGreysTakeTheDesktopColoursAndOtherGreysStay) {
    CSkinButton button;
    button.resize(40, 40);
    QImage art = Solid(40, 40, QColor(192, 192, 192));
    for (int y = 30; y < 40; ++y) {
        for (int x = 0; x < 40; ++x)
            art.setPixel(x, y, qRgb(100, 100, 100));
    }
    const std::string path = WriteBmp("face1.bmp", art);
    button.SetImages(path, path, path, path);
    const QImage face = button.grab().toImage();
    EXPECT_TRUE(Near(face.pixel(20, 10), button.palette().color(QPalette::Button), 0));
    EXPECT_EQ(face.pixel(20, 30), qRgb(100, 100, 100));
}

TEST_F(SkinButtonTest, MissingImagesFallBackToTheNormalImageThenToADrawnFace) {
    CSkinButton button;
    button.resize(40, 40);
    const std::string normal = WriteBmp("cut1.bmp", Solid(40, 40, QColor(200, 30, 30)));
    button.SetImages(normal, Path("cut3.bmp"), normal, Path("cut2.bmp"));
    button.setDown(true);
    EXPECT_EQ(button.grab().toImage().pixel(20, 8), qRgb(200, 30, 30));

    button.SetImages(Path("none1.bmp"), Path("none3.bmp"), Path("none1.bmp"), Path("none2.bmp"));
    const QColor face = button.palette().color(QPalette::Button);
    EXPECT_TRUE(Near(button.grab().toImage().pixel(20, 8), face.darker(130)));
    button.setDown(false);
    EXPECT_TRUE(Near(button.grab().toImage().pixel(20, 8), face));
}

TEST_F(SkinButtonTest, SkinningClipsToTheEllipseOfTheSizeAtThatMoment) {
    CSkinButton button;
    button.resize(40, 30);
    button.PreSubclassWindow();
    const QRegion mask = button.mask();
    EXPECT_TRUE(mask.contains(QPoint(20, 15)));
    EXPECT_TRUE(mask.contains(QPoint(1, 15)));
    EXPECT_FALSE(mask.contains(QPoint(0, 0)));
    EXPECT_FALSE(mask.contains(QPoint(39, 29)));
    button.resize(80, 80);
    EXPECT_EQ(button.mask(), mask);
}

TEST(SkinButtonToolTipTest, ASecondTextReplacesTheFirstAndNullIsIgnored) {
    CSkinButton button;
    button.SetToolTipText("Connect", 1);
    EXPECT_EQ(button.toolTip(), "Connect");
    button.SetToolTipText("Disconnect", 1);
    EXPECT_EQ(button.toolTip(), "Disconnect");
    button.SetToolTipText(nullptr, 0);
    EXPECT_EQ(button.toolTip(), "Disconnect");
    button.SetToolTipText("Disconnect", 0);
    EXPECT_TRUE(button.toolTip().isEmpty());
}

TEST(SegmentLabelTest, TextsAreCutToTheWidthInBytes) {
    CSegmentLabel label;
    label.SetText("12345678901234567");
    EXPECT_EQ(label.Text(), "12345678901234567");
    label.SetText("123456789012345678");
    EXPECT_EQ(label.Text(), "1234567890123456 ");
    label.SetFont(6, 12, 0, 0, 50);
    EXPECT_EQ(label.Text(), "1234567890123456 ");  // not cut again until the next text
    label.SetText(std::string(60, '7'));
    EXPECT_EQ(label.Text(), std::string(48, '7') + " ");
}

TEST(SegmentLabelTest, FormatTimeShowsBytesFourThreeAndTwoUncut) {
    CSegmentLabel label;
    label.SetFont(6, 12, 0, 0, 2);
    label.FormatTime(0xABCD'000C'0705'FFFFull);
    EXPECT_EQ(label.Text(), " 12: 7: 5");
    label.FormatTime(0x0000'0080'FF00'0000ull);
    EXPECT_EQ(label.Text(), " 128:255: 0");
}

TEST(SegmentLabelTest, ZeroColoursKeepWhatWasSetAndWidthsStayInRange) {
    CSegmentLabel label;
    EXPECT_EQ(label.TextColour(), QColor(255, 255, 255));
    EXPECT_EQ(label.BackgroundColour(), QColor(0x5A, 0x9E, 0xE2));
    EXPECT_EQ(label.WidthChars(), 18);
    EXPECT_EQ(label.SetFont(8, 16, 0, 0x87652F, 17), 1);
    EXPECT_EQ(label.TextColour(), QColor(255, 255, 255));
    EXPECT_EQ(label.BackgroundColour(), QColor(47, 101, 135));
    label.SetFont(8, 16, 0x0000FF, 0, 500);
    EXPECT_EQ(label.TextColour(), QColor(255, 0, 0));
    EXPECT_EQ(label.BackgroundColour(), QColor(47, 101, 135));
    EXPECT_EQ(label.WidthChars(), CSegmentLabel::kMaxWidth_chars);
    label.SetFont(8, 16, 0, 0, 0);
    EXPECT_EQ(label.WidthChars(), CSegmentLabel::kMinWidth_chars);
}

TEST(SegmentLabelTest, TheSegmentFaceFallsBackToAnInstalledOne) {
    CSegmentLabel label;
    const QFontInfo info(label.SegmentFont());
    if (QFontDatabase::families().contains("Sevenet 7")) {
        EXPECT_EQ(info.family(), "Sevenet 7");
    } else if (QFontDatabase::families().contains("DSEG7 Classic")) {
        EXPECT_EQ(info.family(), "DSEG7 Classic");
    } else {
        EXPECT_TRUE(info.fixedPitch());
    }
    EXPECT_LE(QFontMetrics(label.SegmentFont()).height(), 21);
}

TEST(SegmentLabelTest, TextCellsAreFilledWithTheGroundAndAnEmptyTextPaintsNothing) {
    QWidget parent;
    parent.resize(260, 40);
    parent.setAutoFillBackground(true);
    QPalette palette;
    palette.setColor(QPalette::Window, Qt::black);
    parent.setPalette(palette);
    auto* label = new CSegmentLabel(&parent);
    label->setGeometry(0, 0, 240, 30);
    label->SetFont(10, 23, 0xFFFFFF, 0x87652F, 17);

    auto count = [&](const QColor& colour) {
        const QImage shot = parent.grab().toImage();
        int n = 0;
        for (int y = 0; y < shot.height(); ++y) {
            for (int x = 0; x < shot.width(); ++x)
                n += Near(shot.pixel(x, y), colour, 0);
        }
        return n;
    };
    const QColor ground(47, 101, 135);
    EXPECT_EQ(count(ground), 0);
    label->SetText("12:34:56");
    EXPECT_GT(count(ground), 100);
    EXPECT_GT(count(Qt::white), 10);
    EXPECT_EQ(parent.grab().toImage().pixelColor(250, 35), QColor(Qt::black));
}
