#include "tests/support/realwindow/RealWindow.h"

#include <QDir>
#include <chrono>
#include <thread>

bool WaitUntil(const std::function<bool()>& condition, int limit_ms) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        // The program under test is another process: there is no event of ours to wait on.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

QString SaveScreenshot(const QImage& image, const QString& name) {
    const QDir folder(QStringLiteral(SUITE_SCREENSHOT_DIR));
    folder.mkpath(QStringLiteral("."));
    const QString path = folder.filePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}
