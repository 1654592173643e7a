// Start-up of the installed Oculan on a virtual X server: from the process's start to its window
// on the screen, and to the first picture in every cell of a 16-camera recorder on loopback
// (CONNECT pressed as soon as the window shows), against a bare Qt window program started the
// same way in the same run. Each runs five times; the ratios are taken against the peer's
// median.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <vector>

#include "tests/support/realwindow/RealWindow.h"
#include "tools/oculan-watch/OculanScreen.h"
#include "tools/oculan-watch/SuiteCopy.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRepetitions = 5;
const QPoint kConnectButton(956 + 30, 390 + 17);
const QPoint kExitButton(870 + 36, 660 + 36);

std::vector<double> g_bare_window_ms;

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

// One virtual X server, one emulator with a 16-camera recorder and a private copy of the
// installed program for the whole run.
struct Stage {
    Stage()
        : emulator(
              "[emulator]\nrecorders = 1\nsandbox = ${FOLDER}/sandbox\n"
              "[recorder1]\nport = 0\ntype = 1016\ncodec = h264\nsize = 2\n"
              "users = ADMIN:admin:2\n") {
        folder = fs::temp_directory_path() / ("oculan_startup_bench_" + std::to_string(::getpid()));
        program = CopyInstalledOculan(SUITE_TREE_DIR "/ClientSoftware", folder);
        ready = xvfb.Ok() && emulator.Ok() && !program.empty() &&
                WriteDeviceStore(folder, {"127.0.0.1:" + std::to_string(emulator.Port(0)) +
                                          ",ADMIN,admin,Front"});
    }
    ~Stage() { fs::remove_all(folder); }

    ChildProcess::Environment Screen() const {
        return {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}};
    }

    XvfbServer xvfb{1280, 1024};
    EmulatorProgram emulator;
    fs::path folder;
    fs::path program;
    bool ready = false;
};

Stage& TheStage() {
    static Stage stage;
    return stage;
}

bool WindowShown(const Stage& stage, const char* title) {
    return FindWindow(stage.xvfb.Display(), title).has_value();
}

void BM_BareQtWindow(benchmark::State& state) {
    Stage& stage = TheStage();
    if (!stage.ready) return state.SkipWithError("no X server, emulator or installed program");
    for (auto _ : state) {
        const auto start = Clock::now();
        ChildProcess probe(PROBE_WINDOW_PROGRAM, {}, stage.Screen());
        if (!PollUntil([&] { return WindowShown(stage, "probe"); }))
            return state.SkipWithError("the bare window never showed");
        const double shown_ms = MsSince(start);
        state.SetIterationTime(shown_ms / 1000);
        state.counters["window_ms"] = shown_ms;
        g_bare_window_ms.push_back(shown_ms);
        probe.Terminate();
        PollUntil([&] { return !WindowShown(stage, "probe"); });
    }
}

void BM_Oculan(benchmark::State& state) {
    Stage& stage = TheStage();
    if (!stage.ready) return state.SkipWithError("no X server, emulator or installed program");
    const std::vector<QRect> cells = GridVideoRects(QPoint(0, 0), 16);
    for (auto _ : state) {
        const auto start = Clock::now();
        ChildProcess oculan(stage.program.string(), {}, stage.Screen());
        if (!PollUntil([&] { return WindowShown(stage, "Oculan"); }))
            return state.SkipWithError("Oculan's window never showed");
        const double shown_ms = MsSince(start);
        // The operator presses CONNECT as soon as it is drawn.
        const QString skins =
            QString::fromStdString((stage.program.parent_path() / "skin1").string());
        PollUntil([&] {
            const std::vector<int> wrong =
                MisplacedButtons(GrabScreen(stage.xvfb.Display()), QPoint(0, 0), skins, {});
            return std::find(wrong.begin(), wrong.end(), 1013) == wrong.end();
        });
        Click(stage.xvfb.Display(), kConnectButton);
        const bool pictured = PollUntil([&] {
            const QImage screen = GrabScreen(stage.xvfb.Display(), QRect(0, 0, 1024, 738));
            for (int i = 0; i < 16; ++i) {
                if (ChannelOfPicture(screen, cells[i]) != i) return false;
            }
            return true;
        });
        if (!pictured) {
            SaveScreenshot(GrabScreen(stage.xvfb.Display()), "oculan-startup-failed");
            return state.SkipWithError("the cells never all showed their camera");
        }
        const double pictures_ms = MsSince(start);
        state.SetIterationTime(pictures_ms / 1000);
        state.counters["window_ms"] = shown_ms;
        state.counters["all_cells_ms"] = pictures_ms;
        const double bare_ms = Median(g_bare_window_ms);
        if (bare_ms > 0) {
            state.counters["window_vs_bare_qt"] = shown_ms / bare_ms;
            state.counters["all_cells_vs_bare_qt"] = pictures_ms / bare_ms;
        }
        // Closed as the operator would, so the recorder sees the log-out before the next run.
        Click(stage.xvfb.Display(), kExitButton);
        if (!oculan.WaitForExit(kPollLimit_ms)) return state.SkipWithError("EXIT did not close it");
    }
}

BENCHMARK(BM_BareQtWindow)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Oculan)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
