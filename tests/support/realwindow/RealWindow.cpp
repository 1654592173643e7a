#include "tests/support/realwindow/RealWindow.h"

#include <QDir>
#include <chrono>
#include <thread>

QString SaveScreenshot(const QImage& image, const QString& name) {
    const QDir folder(QStringLiteral(SUITE_SCREENSHOT_DIR));
    folder.mkpath(QStringLiteral("."));
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}
