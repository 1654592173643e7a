#include <QApplication>

#include "common/ui/core/GdiRenderer.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/tests/WidgetTestSupport.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

const QColor kFrame(6, 45, 80);

bool AnyPixel(const QImage& image, const QRect& area, const QColor& colour) {
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Near(image.pixel(x, y), colour, 40)) return true;
        }
    }
    return false;
}

// A window holding a 400 x 300 grid at (10, 20), shown.
class GridWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_.resize(420, 340);
        grid_ = new CVideoGrid(&window_);
        grid_->setGeometry(10, 20, 400, 300);
        window_.show();
    }

    // Draws a white picture over the video rectangle of a cell, as display code does.
    void DrawInto(int cell_index) {
        const VideoCell cell = grid_->Cells().Cell(cell_index);
        const QPoint at = grid_->mapToGlobal(QPoint(cell.video_x, cell.video_y));
        const auto picture = Bgr24Picture(8, 8, [](int, int) { return QColor(Qt::white); });
        renderer_.Draw(at.x(), at.y(), at.x() + cell.video_width, at.y() + cell.video_height, 8, 8,
                       picture.data());
    }

    QRgb GridPixel(int x, int y) { return window_.grab().toImage().pixel(10 + x, 20 + y); }

    QWidget window_;
    CVideoGrid* grid_ = nullptr;
    CGdiRenderer renderer_;
};

}  // namespace

TEST(VideoGridPaintTest, CellsShowFrameFillAndTitleBands) {
    CVideoGrid grid;
    grid.resize(400, 300);
    grid.Init(16, 4);
    grid.SetColors(0x502D06, 0xFFFFFF, 0);
    QImage shot = grid.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(100, 5), kFrame, 0));  // title band
    EXPECT_TRUE(Near(shot.pixel(100, 100), Qt::black, 0));
    EXPECT_TRUE(Near(shot.pixel(1, 100), kFrame, 0));             // frame left of the fill
    EXPECT_TRUE(Near(shot.pixel(199, 100), kFrame, 0));           // and right of it
    EXPECT_TRUE(Near(shot.pixel(100, 148), kFrame, 0));           // and below it
    EXPECT_TRUE(AnyPixel(shot, QRect(1, 0, 60, 14), Qt::white));  // "CH01"
    EXPECT_EQ(grid.Cells().Cell(3).video_x, 202);                 // computed by the paint

    grid.SetTitleMode(2);
    shot = grid.grab().toImage();
    EXPECT_FALSE(AnyPixel(shot, QRect(1, 0, 60, 14), Qt::white));

    grid.SetTitleMode(0);
    grid.Init(256, 64);
    shot = grid.grab().toImage();
    EXPECT_FALSE(AnyPixel(shot, shot.rect(), Qt::white));  // no titles in 64 cells
    EXPECT_TRUE(Near(shot.pixel(10, 2), Qt::black, 0));    // video from the cell's top
}

TEST(VideoGridPaintTest, DefaultColoursAndNothingVisibleBeforeInit) {
    CVideoGrid grid;
    grid.resize(100, 100);
    const QImage shot = grid.grab().toImage();
    EXPECT_TRUE(Near(shot.pixel(50, 50), QColor(128, 128, 128), 0));
    EXPECT_EQ(grid.HitTest(QPoint(50, 50)), -1);
    grid.Init(4, 4);
    EXPECT_TRUE(Near(grid.grab().toImage().pixel(25, 30), Qt::white, 0));
}

TEST_F(GridWindowTest, ClickingACellEnlargesItAndWipesThePictures) {
    grid_->Init(16, 4);
    grid_->SetColors(0x502D06, 0xFFFFFF, 0);
    renderer_.SetDC(CVideoSurfaceView::SurfaceOf(grid_));
    grid_->ComputeCells();
    DrawInto(1);
    EXPECT_TRUE(Near(GridPixel(300, 80), Qt::white, 0));

    grid_->SelectAt(QPoint(500, 500));  // no cell: the picture stays
    EXPECT_TRUE(Near(GridPixel(300, 80), Qt::white, 0));

    grid_->SelectAt(QPoint(300, 80));
    EXPECT_EQ(grid_->Cells().Layout(), 1);
    EXPECT_EQ(grid_->Cells().Selected(), 1);
    EXPECT_TRUE(Near(GridPixel(300, 80), Qt::black, 0));
    EXPECT_EQ(grid_->Cells().Cell(1).width, 400);
    EXPECT_TRUE(AnyPixel(window_.grab().toImage(), QRect(11, 20, 60, 14), Qt::white));  // CH02
}

TEST_F(GridWindowTest, SetLayoutPagesAndWipesThePictures) {
    grid_->Init(16, 4);
    grid_->SetColors(0x502D06, 0xFFFFFF, 0);
    renderer_.SetDC(CVideoSurfaceView::SurfaceOf(grid_));
    grid_->ComputeCells();
    DrawInto(0);
    EXPECT_EQ(grid_->SetLayout(10), -1);
    EXPECT_TRUE(Near(GridPixel(100, 80), Qt::white, 0));
    EXPECT_EQ(grid_->SetLayout(4), 0);
    EXPECT_EQ(grid_->Cells().Page(), 1);
    EXPECT_TRUE(Near(GridPixel(100, 80), Qt::black, 0));
}

TEST_F(GridWindowTest, MovingTheGridTakesItsPicturesAway) {
    grid_->Init(4, 4);
    renderer_.SetDC(CVideoSurfaceView::SurfaceOf(grid_));
    grid_->SetColors(0x502D06, 0xFFFFFF, 0);
    grid_->ComputeCells();
    DrawInto(0);
    EXPECT_TRUE(Near(window_.grab().toImage().pixel(110, 100), Qt::white, 0));
    grid_->setGeometry(200, 150, 200, 150);
    QApplication::processEvents();
    const QImage shot = window_.grab().toImage();
    EXPECT_FALSE(Near(shot.pixel(110, 100), Qt::white, 0));  // where the picture was
    EXPECT_TRUE(Near(shot.pixel(250, 190), Qt::black, 0));
}
