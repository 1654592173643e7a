#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QTimer>

#include "common/ui/core/BmpEncoder.h"
#include "common/ui/core/GdiRenderer.h"
#include "common/ui/core/SnapshotName.h"
#include "common/ui/widgets/FolderChooser.h"
#include "common/ui/widgets/VideoGrid.h"
#include "common/ui/widgets/WindowSnapshot.h"
#include "common/ui/widgets/tests/WidgetTestSupport.h"
#include "platform/surface/VideoSurfaceView.h"

namespace {

std::uint32_t U32(const QByteArray& b, int at) {
    auto u = [&](int i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i]));
    };
    return u(0) | (u(1) << 8) | (u(2) << 16) | (u(3) << 24);
}

// Answers the next modal dialog once it shows: f(dialog).
template <class F>
void AnswerDialog(F f) {
    QTimer::singleShot(0, [f] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog) {
            AnswerDialog(f);
            return;
        }
        f(dialog);
    });
}

class SnapshotTest : public SkinFolderTest {
protected:
    void SetUp() override {
        window_.resize(800, 640);
        grid_ = new CVideoGrid(&window_);
        grid_->setGeometry(25, 30, 750, 592);
        grid_->Init(16, 4);
        grid_->SetColors(0x502D06, 0xFFFFFF, 0);
        window_.show();
        grid_->ComputeCells();
    }

    QString FilePath(const QString& name) const { return QString::fromStdString(Path(name)); }

    QWidget window_;
    CVideoGrid* grid_ = nullptr;
};

}  // namespace

TEST_F(SnapshotTest, TheFileHoldsTheGridWithItsPicturesAtTheDisplayDepth) {
    CGdiRenderer renderer;
    renderer.SetDC(CVideoSurfaceView::SurfaceOf(grid_));
    const VideoCell cell = grid_->Cells().Cell(2);  // bottom-left cell
    const QPoint at = grid_->mapToGlobal(QPoint(cell.video_x, cell.video_y));
    const auto picture = Bgr24Picture(4, 4, [](int, int) { return QColor(10, 200, 30); });
    renderer.Draw(at.x(), at.y(), at.x() + cell.video_width, at.y() + cell.video_height, 4, 4,
                  picture.data());

    const QString path = FilePath("shot.bmp");
    QString error;
    ASSERT_TRUE(WriteWindowBitmap(grid_, path, &error)) << error.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int bits = SnapshotBitsPerPixel(grid_->depth());
    const std::uint32_t image_size = BmpRowBytes(750, bits) * 592;
    ASSERT_EQ(static_cast<std::uint32_t>(bytes.size()), 54 + image_size);
    EXPECT_EQ(bytes.left(2), "BM");
    EXPECT_EQ(U32(bytes, 2), 54 + image_size);
    EXPECT_EQ(U32(bytes, 10), 54u);
    EXPECT_EQ(U32(bytes, 18), 750u);
    EXPECT_EQ(U32(bytes, 22), 592u);
    EXPECT_EQ(U32(bytes, 28) & 0xFFFF, static_cast<std::uint32_t>(bits));
    EXPECT_EQ(U32(bytes, 34), image_size);
    if (bits == 32) {
        EXPECT_EQ(image_size, 1776000u);
    }

    // The file is bottom-up: its first row is the grid's last, through the picture of cell 2.
    const QImage read(path, "BMP");
    ASSERT_EQ(read.size(), QSize(750, 592));
    EXPECT_TRUE(Near(read.pixel(cell.video_x + 5, cell.video_y + cell.video_height - 1),
                     QColor(10, 200, 30), bits == 16 ? 8 : 0));
    EXPECT_TRUE(Near(read.pixel(0, 591), QColor(6, 45, 80), bits == 16 ? 8 : 0));
    EXPECT_TRUE(Near(read.pixel(400, 100), Qt::black, 0));
}

TEST_F(SnapshotTest, AnExistingFileIsReplacedAndAnUnwritablePathWritesNothing) {
    const QString path = FilePath("old.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("not a bitmap");
    }
    EXPECT_TRUE(WriteWindowBitmap(grid_, path));
    EXPECT_TRUE(QImage(path, "BMP").size() == QSize(750, 592));

    const QString bad = FilePath("no/such/folder/x.bmp");
    QString error;
    EXPECT_FALSE(WriteWindowBitmap(grid_, bad, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(bad));
}

TEST_F(SnapshotTest, TheSaveDialogProposesTheNameAndWritesWhereTheOperatorSays) {
    const std::string name = SnapshotNameNow();
    const QString chosen = FilePath("chosen");  // no extension is added
    QString proposed;
    AnswerDialog([&](QFileDialog* dialog) {
        proposed = dialog->selectedFiles().value(0);
        dialog->selectFile(chosen);
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(SaveWindowBitmap(grid_, name), 0);
    EXPECT_TRUE(proposed.endsWith(QString::fromStdString(name)));
    EXPECT_EQ(QImage(chosen, "BMP").size(), QSize(750, 592));

    AnswerDialog([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(SaveWindowBitmap(grid_, "cancelled.bmp"), 0);
    EXPECT_FALSE(QFile::exists(FilePath("cancelled.bmp")));
}

using FolderChooserTest = SkinFolderTest;

TEST_F(FolderChooserTest, OpensAtTheGivenFolderAndReturnsTheChoice) {
    QDir(QString::fromStdString(Path(""))).mkpath("records/day1");
    std::string path = Path("records");
    QString opened_at;
    AnswerDialog([&](QFileDialog* dialog) {
        opened_at = dialog->directory().absolutePath();
        dialog->selectFile(QString::fromStdString(Path("records/day1")));
        static_cast<QDialog*>(dialog)->accept();
    });
    EXPECT_EQ(BrowseForFolder(nullptr, path, "Select directory"), 1);
    EXPECT_EQ(opened_at.toStdString(), Path("records"));
    EXPECT_EQ(path, Path("records/day1"));
}

TEST_F(FolderChooserTest, CancelLeavesThePathAlone) {
    std::string path = Path("");
    const std::string before = path;
    AnswerDialog([](QFileDialog* dialog) { dialog->reject(); });
    EXPECT_EQ(BrowseForFolder(nullptr, path, "Select directory"), 0);
    EXPECT_EQ(path, before);
}
