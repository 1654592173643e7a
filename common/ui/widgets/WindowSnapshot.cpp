#include "common/ui/widgets/WindowSnapshot.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QPixmap>
#include <QSaveFile>
#include <QScreen>
#include <QWidget>

#include "common/ui/core/BmpEncoder.h"
#include "common/ui/widgets/MessageBoxSeam.h"

namespace {

int DisplayDepth(QWidget* window) {
    if (window) return window->depth();
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->depth() : 32;
}

bool WriteImage(const QImage& captured, int depth, const QString& path, QString* error) {
    if (captured.isNull()) {
        if (error) *error = QStringLiteral("there is nothing to capture");
        return false;
    }
    const QImage image = captured.convertToFormat(QImage::Format_RGB32);
    const std::vector<std::uint8_t> bytes = EncodeBmp(
        reinterpret_cast<const std::uint32_t*>(image.constBits()), image.width(), image.height(),
        static_cast<int>(image.bytesPerLine() / 4), SnapshotBitsPerPixel(depth));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        if (error) *error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace

QImage CaptureWindow(QWidget* window) {
    if (!window) {
        QScreen* screen = QGuiApplication::primaryScreen();
        return screen ? screen->grabWindow(0).toImage() : QImage();
    }
    // Grabbing from the top-level takes the video surface laid over the window with it.
    QWidget* top = window->window();
    const QRect area(window->mapTo(top, QPoint(0, 0)), window->size());
    return top->grab(area).toImage();
}

bool WriteWindowBitmap(QWidget* window, const QString& path, QString* error) {
    return WriteImage(CaptureWindow(window), DisplayDepth(window), path, error);
}

int SaveWindowBitmap(QWidget* window, const std::string& proposed_name) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QImage captured = CaptureWindow(window);
    const int depth = DisplayDepth(window);
    QApplication::restoreOverrideCursor();

    const QString path = QFileDialog::getSaveFileName(
        window, QString(), QString::fromStdString(proposed_name),
        QStringLiteral("BMP File   (*.bmp)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return 0;
    QString error;
    if (!WriteImage(captured, depth, path, &error)) {
        ShowMessageBox(window, QStringLiteral("Cannot write %1: %2").arg(path, error),
                       QStringLiteral("Snapshot"), MessageBoxButtons::kOk,
                       MessageBoxIcon::kWarning);
    }
    return 0;
}
