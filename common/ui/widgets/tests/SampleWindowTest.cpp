#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <thread>

#include "common/ui/core/GdiRenderer.h"
#include "common/ui/widgets/SegmentLabel.h"
#include "common/ui/widgets/SkinBitmap.h"
#include "common/ui/widgets/SkinButton.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/tests/WidgetTestSupport.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

const QColor kBars[] = {Qt::white, Qt::yellow, Qt::cyan, Qt::green, Qt::magenta, Qt::red, Qt::blue};

// A test card: colour bars over the top third, a grey ramp below, and a tinted band whose
// colour tells the cells apart.
std::vector<unsigned char> TestCard(int index) {
    const QColor tint = QColor::fromHsv((index * 40) % 360, 200, 220);
    return Bgr24Picture(352, 288, [&](int x, int y) {
        if (y < 96) return kBars[x * 7 / 352];
        if (y < 192) return QColor(x * 255 / 351, x * 255 / 351, x * 255 / 351);
        return tint;
    });
}

enum class Glyph { kPlay, kStop, kRecord, kSnap };

QImage ButtonArt(Glyph glyph, int state) {
    const QColor base[] = {QColor(52, 101, 164), QColor(92, 146, 214), QColor(28, 60, 104),
                           QColor(120, 120, 120)};
    QImage art(48, 48, QImage::Format_RGB32);
    art.fill(QColor(30, 36, 48));
    QPainter p(&art);
    p.setRenderHint(QPainter::Antialiasing);
    QRadialGradient shine(QPointF(18, 14), 34);
    shine.setColorAt(0, base[state - 1].lighter(150));
    shine.setColorAt(1, base[state - 1].darker(140));
    p.setBrush(shine);
    p.setPen(QPen(base[state - 1].darker(200), 1.5));
    p.drawEllipse(QRectF(2.5, 2.5, 43, 43));
    p.setPen(Qt::NoPen);
    p.setBrush(state == 4 ? QColor(180, 180, 180) : QColor(250, 250, 250));
    switch (glyph) {
        case Glyph::kPlay: {
            QPainterPath path;
            path.moveTo(19, 14);
            path.lineTo(35, 24);
            path.lineTo(19, 34);
            path.closeSubpath();
            p.drawPath(path);
            break;
        }
        case Glyph::kStop:
            p.drawRect(QRectF(16, 16, 16, 16));
            break;
        case Glyph::kRecord:
            p.setBrush(state == 4 ? QColor(180, 180, 180) : QColor(230, 40, 40));
            p.drawEllipse(QRectF(15, 15, 18, 18));
            break;
        case Glyph::kSnap:
            p.drawRoundedRect(QRectF(13, 18, 22, 15), 3, 3);
            p.setBrush(base[state - 1]);
            p.drawEllipse(QRectF(19.5, 20.5, 9, 9));
            break;
    }
    return art;
}

QImage BackgroundTile() {
    QImage tile(64, 64, QImage::Format_RGB32);
    QPainter p(&tile);
    QLinearGradient ramp(0, 0, 0, 64);
    ramp.setColorAt(0, QColor(38, 46, 60));
    ramp.setColorAt(1, QColor(30, 36, 48));
    p.fillRect(tile.rect(), ramp);
    p.setPen(QColor(44, 53, 69));
    p.drawLine(0, 63, 63, 0);
    return tile;
}

// The skinned owner window: tiles its background and holds the widgets under test.
class SampleWindow : public QWidget {
public:
    explicit SampleWindow(const std::string& background) {
        background_.SetFileName(background);
        background_.LoadFromFile(1);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!background_.Tile(painter, rect())) painter.fillRect(rect(), palette().window());
    }

private:
    CSkinBitmap background_;
};

}  // namespace

using SampleWindowTest = SkinFolderTest;

TEST_F(SampleWindowTest, SkinnedWindowWithLabelsButtonsAndLivePicturesLooksRight) {
    SampleWindow window(WriteBmp("BACKGROUND.bmp", BackgroundTile()));
    window.resize(660, 480);

    auto* clock = new CSegmentLabel(&window);
    clock->setGeometry(20, 16, 200, 30);
    clock->SetText("12:34:56");
    auto* date = new CSegmentLabel(&window);
    date->setGeometry(240, 18, 200, 26);
    date->SetFont(8, 18, 0xFFFFFF, 0x87652F, 17);
    date->SetText("2024-01-31");

    auto* grid = new CVideoGrid(&window);
    grid->setGeometry(20, 60, 540, 396);
    grid->Init(16, 9);
    grid->SetColors(0x502D06, 0xFFFFFF, 0);
    grid->SetChannelName(0, "Front door");
    grid->SetChannelName(4, "Yard");

    const Glyph glyphs[] = {Glyph::kPlay, Glyph::kStop, Glyph::kRecord, Glyph::kSnap};
    const char* stems[] = {"PLAY", "STOP", "REC", "SNAP"};
    std::vector<CSkinButton*> buttons;
    for (int i = 0; i < 4; ++i) {
        std::string files[5];
        for (int state = 1; state <= 4; ++state) {
            files[state] =
                WriteBmp(QString("%1%2.bmp").arg(stems[i]).arg(state), ButtonArt(glyphs[i], state));
        }
        auto* button = new CSkinButton(&window);
        button->setGeometry(585, 70 + 64 * i, 48, 48);
        button->PreSubclassWindow();
        button->SetImages(files[1], files[3], files[4], files[2]);
        button->SetToolTipText(stems[i], 1);
        buttons.push_back(button);
    }
    buttons[3]->setEnabled(false);
    auto* plain = new CSkinButton(&window);  // its art is missing
    plain->setGeometry(585, 326, 48, 48);
    plain->setText("OK");
    plain->SetImages(Path("OK1.bmp"), Path("OK3.bmp"), Path("OK1.bmp"), Path("OK2.bmp"));
    plain->PreSubclassWindow();

    CGdiRenderer renderer;
    renderer.SetDC(CVideoSurfaceView::SurfaceOf(&window));
    window.show();
    grid->ComputeCells();
    QApplication::processEvents();

    std::vector<std::vector<unsigned char>> cards;
    for (int i = 0; i < 9; ++i)
        cards.push_back(TestCard(i));
    std::vector<QRect> targets;
    for (int i = 0; i < 9; ++i) {
        const VideoCell cell = grid->Cells().Cell(i);
        targets.emplace_back(grid->mapToGlobal(QPoint(cell.video_x, cell.video_y)),
                             QSize(cell.video_width, cell.video_height));
    }
    std::thread frame_thread([&] {
        for (int i = 0; i < 9; ++i) {
            const QRect& r = targets[i];
            renderer.Draw(r.left(), r.top(), r.left() + r.width(), r.top() + r.height(), 352, 288,
                          cards[i].data());
        }
    });
    frame_thread.join();
    QApplication::processEvents();

    const QImage shot = window.grab().toImage();
    const QString folder = SUITE_SCREENSHOT_DIR;
    QDir().mkpath(folder);
    EXPECT_TRUE(shot.save(folder + "/sample-window.png"));

    // Cell 0: white bar at the top left, blue bar at the top right, tint at the bottom.
    const VideoCell c0 = grid->Cells().Cell(0);
    const QPoint v0 = grid->mapTo(&window, QPoint(c0.video_x, c0.video_y));
    EXPECT_TRUE(Near(shot.pixel(v0.x() + 1, v0.y() + 1), Qt::white, 0));
    EXPECT_TRUE(Near(shot.pixel(v0.x() + c0.video_width - 2, v0.y() + 1), Qt::blue, 0));
    EXPECT_TRUE(Near(shot.pixel(v0.x() + 1, v0.y() + c0.video_height - 2),
                     QColor::fromHsv(0, 200, 220), 0));
    // The title band above it, in the frame colour.
    EXPECT_TRUE(Near(shot.pixel(v0.x() + 150, v0.y() - 7), QColor(6, 45, 80), 0));
    // Labels on their grounds.
    EXPECT_TRUE(Near(shot.pixel(21, 17), QColor(0x5A, 0x9E, 0xE2), 0));
    EXPECT_TRUE(Near(shot.pixel(241, 19), QColor(47, 101, 135), 0));
    // Buttons are round: the corner shows the background, the middle the art.
    EXPECT_TRUE(Near(shot.pixel(585, 70), BackgroundTile().pixel(585 % 64, 70 % 64), 0));
    EXPECT_TRUE(Near(shot.pixel(585 + 24, 70 + 10), QColor(250, 250, 250), 60) ||
                !Near(shot.pixel(585 + 24, 70 + 10), QColor(30, 36, 48), 4));
}
