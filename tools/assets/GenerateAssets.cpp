// Draws the suite's art into the client programs' folder of the tree:
//   generate_assets <client-folder>
#include <QGuiApplication>
#include <cstdio>

#include "tools/assets/AssetWriter.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <client-folder>\n", argv[0]);
        return 2;
    }
    // Text needs a GUI application; the build has no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList failed = skinart::WriteAllAssets(QString::fromLocal8Bit(argv[1]));
    for (const QString& path : failed) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    return failed.isEmpty() ? 0 : 1;
}
