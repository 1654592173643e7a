// oculan-watch: runs the live view on a virtual X server of its own for a set time, then says
// what its window showed (devices connected; each device selected in the tree in turn, the
// pictures in each of its cells), keeps a screenshot and closes the program with its EXIT
// button, as an onlooker would. For the demo without a display.
//   oculan-watch <Oculan> <seconds> <screenshot.png>
#include <QGuiApplication>
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "liveview/core/store/UserStore.h"
#include "tests/support/realwindow/RealWindow.h"
#include "tools/oculan-watch/OculanScreen.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWatch_s = 5;
// A selection holds the window 300 ms, then the streams restart at a key frame.
constexpr int kSwitch_s = 2;
constexpr int kLayout = 16;
const QPoint kExitButton(870 + 36, 660 + 36);
const char* const kImageNames[] = {"root", "connected (ordinary user)", "not connected",
                                   "connected (super user)"};

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
}

// Which camera each cell shows and how often its picture moved on, from grabs of the grid
// alone, as fast as they come.
struct CellWatch {
    std::vector<int> channels;
    std::vector<int> changes;
    int grabs = 0;

    int PicturedCells() const {
        return static_cast<int>(std::count_if(channels.begin(), channels.end(),
                                              [](int channel) { return channel >= 0; }));
    }
    double PicturesPerCellSecond(int seconds) const {
        int total = 0;
        for (std::size_t i = 0; i < channels.size(); ++i) {
            if (channels[i] >= 0) total += changes[i];
        }
        return PicturedCells() ? static_cast<double>(total) / PicturedCells() / seconds : 0.0;
    }
};

CellWatch WatchCells(const std::string& display, const QRect& window, ChildProcess& oculan) {
    const QRect grid(window.topLeft() + QPoint(30, 35), QSize(750, 592));
    const std::vector<QRect> cells = GridVideoRects(window.topLeft() - grid.topLeft(), kLayout);
    CellWatch watch{std::vector<int>(cells.size(), -1), std::vector<int>(cells.size(), 0), 0};
    std::vector<quint64> last(cells.size(), 0);
    const auto start = Clock::now();
    while (Seconds(start) < kWatch_s && oculan.Running()) {
        const QImage screen = GrabScreen(display, grid);
        ++watch.grabs;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            watch.channels[i] = ChannelOfPicture(screen, cells[i]);
            const quint64 bar = BarFingerprint(screen, cells[i]);
            if (watch.channels[i] >= 0 && last[i] != 0 && bar != last[i]) ++watch.changes[i];
            last[i] = bar;
        }
    }
    return watch;
}

UserStoreContent ReadStore(const std::filesystem::path& program) {
    UserStoreContent content;
    CUserStore(program.parent_path().parent_path() / "uss.dat").Load(content);
    return content;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <Oculan> <seconds> <screenshot.png>\n", argv[0]);
        return 2;
    }
    // Reads the screen of its own X server; needs no display of its own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const std::filesystem::path program = argv[1];
    const int run_s = std::max(kWatch_s + 1, std::atoi(argv[2]));
    const QString screenshot = QString::fromLocal8Bit(argv[3]);

    XvfbServer xvfb(1280, 1024);
    if (!xvfb.Ok()) {
        std::fprintf(stderr, "oculan-watch: no virtual X server (is Xvfb installed?)\n");
        return 1;
    }
    const UserStoreContent store = ReadStore(program);
    const auto start = Clock::now();
    ChildProcess oculan(program.string(), {},
                        {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}});
    std::optional<QRect> window;
    if (!PollUntil([&] { return (window = FindWindow(xvfb.Display(), "Oculan")).has_value(); })) {
        std::fprintf(stderr, "oculan-watch: no Oculan window appeared\n%s",
                     oculan.Output().c_str());
        return 1;
    }
    std::printf("Oculan's window is up %.1f s after start, at %d,%d, %d x %d (display %s)\n",
                Seconds(start), window->x(), window->y(), window->width(), window->height(),
                xvfb.Display().c_str());
    // The last seconds go to the devices in turn, each selected in the tree as an operator
    // would, its cells watched for a while.
    const int devices = store.devices.GetDvrCount();
    const int watch_all_s = devices * (kSwitch_s + kWatch_s);
    std::printf(
        "watching for %d s (automatic connection comes at the first minute), then "
        "each device's view for %d s...\n",
        std::max(run_s - watch_all_s, 0), kWatch_s);
    std::fflush(stdout);
    while (Seconds(start) < run_s - watch_all_s && oculan.Running())
        std::this_thread::sleep_for(std::chrono::milliseconds(200));

    std::array<QImage, 4> icons;
    const int icon_ids[] = {138, 139, 140, 162};
    for (int i = 0; i < 4; ++i) {
        icons[i] = QImage(QString::fromStdString((program.parent_path() / "res" /
                                                  ("icon" + std::to_string(icon_ids[i]) + ".png"))
                                                     .string()))
                       .convertToFormat(QImage::Format_ARGB32);
    }
    std::vector<QPoint> row_positions;
    const std::vector<int> rows =
        TreeImages(GrabScreen(xvfb.Display(), *window), QPoint(0, 0), icons, &row_positions);
    std::printf("\nafter %.0f s:\n", Seconds(start));
    std::printf("  device tree (%d devices in the store):\n", devices);
    int connected = 0;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const int a = static_cast<int>(row) - 1;
        const std::string name = a < devices ? store.devices.Entry(a).settings.show_name : "?";
        std::printf("    %d %-16s %s\n", a, name.c_str(), kImageNames[rows[row]]);
        if (rows[row] == 1 || rows[row] == 3) ++connected;
    }
    std::printf("  devices connected: %d of %d\n", connected, devices);

    bool saved = false;
    int devices_pictured = 0;
    for (std::size_t row = 1; row < rows.size() && oculan.Running(); ++row) {
        const int a = static_cast<int>(row) - 1;
        const std::string name = a < devices ? store.devices.Entry(a).settings.show_name : "?";
        Click(xvfb.Display(), window->topLeft() + row_positions[row] + QPoint(30, 0));
        std::this_thread::sleep_for(std::chrono::seconds(kSwitch_s));
        const CellWatch watch = WatchCells(xvfb.Display(), *window, oculan);
        std::printf("  video window (layout %d) with device %d, %s, selected:\n", kLayout, a,
                    name.c_str());
        if (watch.PicturedCells() == 0) {
            std::printf("    no cell shows a picture\n");
        } else {
            ++devices_pictured;
        }
        for (std::size_t i = 0; i < watch.channels.size(); ++i) {
            if (watch.channels[i] < 0) continue;
            std::printf("    cell %2zu: camera %2d, %3d new pictures seen in %d s\n", i + 1,
                        watch.channels[i] + 1, watch.changes[i], kWatch_s);
        }
        std::printf(
            "    cells with pictures: %d of %d; new pictures seen: %.1f per cell per "
            "second (from %d grabs of the screen, so each cell showed at least this "
            "many)\n",
            watch.PicturedCells(), kLayout, watch.PicturesPerCellSecond(kWatch_s), watch.grabs);
        if (!saved) saved = GrabScreen(xvfb.Display(), *window).save(screenshot);
    }
    if (!oculan.Running()) {
        std::fprintf(stderr, "oculan-watch: Oculan ended early\n%s", oculan.Output().c_str());
        return 1;
    }
    std::printf(
        "  the all-devices view (the root) shows what its channel menu placed; it is "
        "not watched here\n");
    std::printf("  screenshot (the first device's view): %s%s\n", qPrintable(screenshot),
                saved ? "" : " (not written)");

    Click(xvfb.Display(), window->topLeft() + kExitButton);
    const std::optional<int> status = oculan.WaitForExit(30000);
    if (!status) {
        std::fprintf(stderr, "oculan-watch: Oculan did not close on EXIT\n");
        return 1;
    }
    std::printf("closed with EXIT: exit status %d\n", *status);
    return devices_pictured > 0 && *status == 0 ? 0 : 1;
}
