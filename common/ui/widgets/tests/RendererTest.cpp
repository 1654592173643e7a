#include <QApplication>
#include <thread>

#include "common/ui/core/GdiRenderer.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/tests/WidgetTestSupport.h"
#include "platform/surface/VideoSurfaceView.h"

// The path of the live view: a frame thread draws a known picture into a cell of the grid
// through the renderer, and the window shows it upright and scaled.
TEST(RendererWindowTest, AFrameThreadsPictureShowsUprightAndScaledInItsCell) {
    QWidget window;
    window.resize(500, 400);
    window.move(30, 60);
    auto* grid = new CVideoGrid(&window);
    grid->setGeometry(50, 40, 400, 300);
    grid->Init(16, 4);
    grid->SetColors(0x502D06, 0xFFFFFF, 0);
    window.show();
    grid->ComputeCells();

    CGdiRenderer renderer;
    std::shared_ptr<CVideoSurface> surface = CVideoSurfaceView::SurfaceOf(&window);
    renderer.SetDC(surface);
    EXPECT_EQ(CVideoSurfaceView::SurfaceOf(grid), surface);  // one surface per window

    // 352 x 288: red top half with a green top-left quarter block, blue bottom half.
    const auto picture = Bgr24Picture(352, 288, [](int x, int y) {
        if (y >= 144) return QColor(Qt::blue);
        return x < 176 && y < 72 ? QColor(Qt::green) : QColor(Qt::red);
    });
    const VideoCell cell = grid->Cells().Cell(3);
    const QPoint at = grid->mapToGlobal(QPoint(cell.video_x, cell.video_y));
    std::thread frame_thread([&] {
        renderer.Draw(at.x(), at.y(), at.x() + cell.video_width, at.y() + cell.video_height, 352,
                      288, picture.data());
    });
    frame_thread.join();

    // The coalesced paint request reaches the window thread and takes the dirty area.
    QApplication::processEvents();
    EXPECT_TRUE(surface->TakeDirty().IsEmpty());

    const QImage shot = window.grab().toImage();
    const QPoint origin = grid->mapTo(&window, QPoint(cell.video_x, cell.video_y));
    const int w = cell.video_width;   // 196
    const int h = cell.video_height;  // 134
    EXPECT_TRUE(Near(shot.pixel(origin.x(), origin.y()), Qt::green, 0));
    EXPECT_TRUE(Near(shot.pixel(origin.x() + w / 2 - 1, origin.y() + h / 4 - 1), Qt::green, 0));
    EXPECT_TRUE(Near(shot.pixel(origin.x() + w / 2 + 1, origin.y() + 2), Qt::red, 0));
    EXPECT_TRUE(Near(shot.pixel(origin.x() + 2, origin.y() + h / 4 + 1), Qt::red, 0));
    EXPECT_TRUE(Near(shot.pixel(origin.x() + 2, origin.y() + h / 2 + 1), Qt::blue, 0));
    EXPECT_TRUE(Near(shot.pixel(origin.x() + w - 1, origin.y() + h - 1), Qt::blue, 0));
    EXPECT_FALSE(Near(shot.pixel(origin.x() + w, origin.y() + h - 1), Qt::blue, 0));
    EXPECT_FALSE(Near(shot.pixel(origin.x() + w - 1, origin.y() + h), Qt::blue, 0));
}
