// oculan-watch: runs the live view on a virtual X server of its own for a set time, then says
// what its window showed (devices connected, pictures per cell), keeps a screenshot and
// closes the program with its EXIT button, as an onlooker would. For the demo without a
// display.
//   oculan-watch <Oculan> <seconds> <screenshot.png>
#include <QGuiApplication>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>

#include "OculanScreen.h"
#include "RealWindow.h"
#include "UserStore.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kWatch_s = 10;
constexpr int kLayout = 16;
const QPoint kExitButton(870 + 36, 660 + 36);
const char* const kImageNames[] = {"root", "connected (ordinary user)", "not connected",
                                   "connected (super user)"};

double Seconds(Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
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
    if (!WaitUntil([&] { return (window = FindWindow(xvfb.Display(), "Oculan")).has_value(); },
                   30000)) {
        std::fprintf(stderr, "oculan-watch: no Oculan window appeared\n%s",
                     oculan.Output().c_str());
        return 1;
    }
    std::printf("Oculan's window is up %.1f s after start, at %d,%d, %d x %d (display %s)\n",
                Seconds(start), window->x(), window->y(), window->width(), window->height(),
                xvfb.Display().c_str());
    std::printf("watching for %d s (automatic connection comes at the first minute)...\n", run_s);
    std::fflush(stdout);
    while (Seconds(start) < run_s - kWatch_s && oculan.Running())
        std::this_thread::sleep_for(std::chrono::milliseconds(200));

    // The last seconds: which camera each cell shows, and how often its picture moved on.
    // Grabs of the grid alone, as fast as they come.
    const QRect grid(window->topLeft() + QPoint(30, 35), QSize(750, 592));
    const std::vector<QRect> cells = GridVideoRects(window->topLeft() - grid.topLeft(), kLayout);
    std::vector<int> changes(cells.size(), 0);
    std::vector<int> channels(cells.size(), -1);
    std::vector<quint64> last(cells.size(), 0);
    int grabs = 0;
    const auto watch_start = Clock::now();
    while (Seconds(watch_start) < kWatch_s && oculan.Running()) {
        const QImage screen = GrabScreen(xvfb.Display(), grid);
        ++grabs;
        for (std::size_t i = 0; i < cells.size(); ++i) {
            channels[i] = ChannelOfPicture(screen, cells[i]);
            const quint64 bar = BarFingerprint(screen, cells[i]);
            if (channels[i] >= 0 && last[i] != 0 && bar != last[i]) ++changes[i];
            last[i] = bar;
        }
    }
    if (!oculan.Running()) {
        std::fprintf(stderr, "oculan-watch: Oculan ended early\n%s", oculan.Output().c_str());
        return 1;
    }

    const QImage screen = GrabScreen(xvfb.Display(), *window);
    const bool saved = screen.save(screenshot);
    std::array<QImage, 4> icons;
    const int icon_ids[] = {138, 139, 140, 162};
    for (int i = 0; i < 4; ++i) {
        icons[i] = QImage(QString::fromStdString((program.parent_path() / "res" /
                                                  ("icon" + std::to_string(icon_ids[i]) + ".png"))
                                                     .string()))
                       .convertToFormat(QImage::Format_ARGB32);
    }
    const std::vector<int> rows = TreeImages(screen, QPoint(0, 0), icons);

    std::printf("\nafter %.0f s:\n", Seconds(start));
    std::printf("  device tree (%d devices in the store):\n", store.devices.GetDvrCount());
    int connected = 0;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const int a = static_cast<int>(row) - 1;
        const std::string name =
            a < store.devices.GetDvrCount() ? store.devices.Entry(a).settings.show_name : "?";
        std::printf("    %d %-16s %s\n", a, name.c_str(), kImageNames[rows[row]]);
        if (rows[row] == 1 || rows[row] == 3) ++connected;
    }
    std::printf("  devices connected: %d of %d\n", connected, store.devices.GetDvrCount());
    const std::string shown =
        store.devices.GetDvrCount() > 0 ? store.devices.Entry(0).settings.show_name : "none";
    std::printf("  video window (layout %d) shows device 0, %s:\n", kLayout, shown.c_str());
    int with_pictures = 0;
    int total_changes = 0;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (channels[i] < 0) {
            std::printf("    cell %2zu: no picture\n", i + 1);
            continue;
        }
        ++with_pictures;
        total_changes += changes[i];
        std::printf("    cell %2zu: camera %2d, %3d new pictures seen in %d s\n", i + 1,
                    channels[i] + 1, changes[i], kWatch_s);
    }
    std::printf(
        "  cells with pictures: %d of %d; new pictures seen: %.1f per cell per second\n",
        with_pictures, kLayout,
        with_pictures ? static_cast<double>(total_changes) / with_pictures / kWatch_s : 0.0);
    std::printf(
        "  (counted from %d grabs of the screen in %d s, so each cell showed at least "
        "this many)\n",
        grabs, kWatch_s);
    std::printf("  screenshot: %s%s\n", qPrintable(screenshot), saved ? "" : " (not written)");

    Click(xvfb.Display(), window->topLeft() + kExitButton);
    const std::optional<int> status = oculan.WaitForExit(30000);
    if (!status) {
        std::fprintf(stderr, "oculan-watch: Oculan did not close on EXIT\n");
        return 1;
    }
    std::printf("closed with EXIT: exit status %d\n", *status);
    return with_pictures > 0 && *status == 0 ? 0 : 1;
}
