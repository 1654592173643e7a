// Start-up of the installed Oculan on a virtual X server: from the process's start to its window
// on the screen, and to the first picture in every cell of a 16-camera recorder on loopback
// (CONNECT pressed as soon as the window shows), against a bare Qt window program started the
// same way in the same run. The two alternate round by round, so a change of load on the
// machine falls on both; each round's ratios are printed with their median and range, and the
// machine's load average. The pictures cannot come before the recorder's first key frames: the
// floor is the bare window plus a bare client's log-in and the first key frame of all 16
// cameras, measured in the same rounds.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <bitset>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "bench/support/BenchMeasures.h"
#include "platform/netctrl/NetCtrl.h"
#include "tests/support/realwindow/RealWindow.h"
#include "tools/oculan-watch/OculanScreen.h"
#include "tools/oculan-watch/SuiteCopy.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;
const QPoint kConnectButton(956 + 30, 390 + 17);
const QPoint kExitButton(870 + 36, 660 + 36);

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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
        recorder_port = ready ? emulator.Port(0) : 0;
    }
    ~Stage() { fs::remove_all(folder); }

    ChildProcess::Environment Screen() const {
        return {{"DISPLAY", xvfb.Display()}, {"QT_QPA_PLATFORM", "xcb"}};
    }

    XvfbServer xvfb{1280, 1024};
    EmulatorProgram emulator;
    fs::path folder;
    fs::path program;
    int recorder_port = 0;
    bool ready = false;
};

Stage& TheStage() {
    static Stage stage;
    return stage;
}

bool WindowShown(const Stage& stage, const char* title) {
    return FindWindow(stage.xvfb.Display(), title).has_value();
}

// Milliseconds from the process's start to the bare window on the screen, or < 0.
double BareWindowMs(const Stage& stage) {
    const auto start = Clock::now();
    ChildProcess probe(PROBE_WINDOW_PROGRAM, {}, stage.Screen());
    if (!PollUntil([&] { return WindowShown(stage, "probe"); })) return -1;
    const double shown_ms = MsSince(start);
    probe.Terminate();
    PollUntil([&] { return !WindowShown(stage, "probe"); });
    return shown_ms;
}

struct OculanRun {
    double window_ms = -1;
    double connect_drawn_ms = -1;  // CONNECT shows its enabled face
    double all_cells_ms = -1;
    const char* failure = nullptr;
};

OculanRun RunOculan(const Stage& stage) {
    static const std::vector<QRect> kCells = GridVideoRects(QPoint(0, 0), 16);
    OculanRun run;
    const auto start = Clock::now();
    ChildProcess oculan(stage.program.string(), {}, stage.Screen());
    if (!PollUntil([&] { return WindowShown(stage, "Oculan"); })) {
        run.failure = "Oculan's window never showed";
        return run;
    }
    run.window_ms = MsSince(start);
    // The operator presses CONNECT as soon as it is drawn.
    const QString skins = QString::fromStdString((stage.program.parent_path() / "skin1").string());
    PollUntil([&] {
        const std::vector<int> wrong =
            MisplacedButtons(GrabScreen(stage.xvfb.Display()), QPoint(0, 0), skins, {});
        return std::find(wrong.begin(), wrong.end(), 1013) == wrong.end();
    });
    run.connect_drawn_ms = MsSince(start);
    Click(stage.xvfb.Display(), kConnectButton);
    const bool pictured = PollUntil([&] {
        const QImage screen = GrabScreen(stage.xvfb.Display(), QRect(0, 0, 1024, 738));
        for (int i = 0; i < 16; ++i) {
            if (ChannelOfPicture(screen, kCells[i]) != i) return false;
        }
        return true;
    });
    if (!pictured) {
        SaveScreenshot(GrabScreen(stage.xvfb.Display()), "oculan-startup-failed");
        run.failure = "the cells never all showed their camera";
        return run;
    }
    run.all_cells_ms = MsSince(start);
    // Closed as the operator would, so the recorder sees the log-out before the next run.
    Click(stage.xvfb.Display(), kExitButton);
    if (!oculan.WaitForExit(kPollLimit_ms)) run.failure = "EXIT did not close it";
    return run;
}

// Milliseconds from a bare client's connect to the first key frame of every camera, or < 0.
double FirstKeyFramesMs(const Stage& stage) {
    NetCtrl client;
    client.InitNetWork();
    const auto start = Clock::now();
    if (client.ConnectToServer("127.0.0.1", stage.recorder_port, "ADMIN", "admin") < 0 ||
        client.NetLocalViewPlay(0xFFFF, 0) < 0) {
        client.StopNetWork();
        return -1;
    }
    std::bitset<16> keyed;
    std::vector<char> payload(kMaxFramePayloadBytes);
    const auto limit = start + std::chrono::milliseconds(kPollLimit_ms);
    while (!keyed.all() && Clock::now() < limit) {
        if (client.IsHavePicBuf() <= 0) {
            client.WaitForPicBuf(100);
            continue;
        }
        _NET_FRAME_HEAD_ head;
        if (client.GetRawPicBuf(reinterpret_cast<char*>(&head), payload.data()) < 0) continue;
        if (head.cType == 'V' && head.nKeyFrame == 1 && head.nChannel >= 0 && head.nChannel < 16)
            keyed.set(static_cast<std::size_t>(head.nChannel));
    }
    const double keys_ms = MsSince(start);
    client.StopNetWork();
    return keyed.all() ? keys_ms : -1;
}

void BM_StartUp(benchmark::State& state) {
    Stage& stage = TheStage();
    if (!stage.ready) return state.SkipWithError("no X server, emulator or installed program");
    std::vector<double> bare_ms, window_ms, connect_ms, all_cells_ms, keys_ms, loads;
    std::vector<double> window_ratios, all_cells_ratios, floor_ratios;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            double bare = 0;
            OculanRun run;
            if (round % 2 == 0) {
                bare = BareWindowMs(stage);
                run = RunOculan(stage);
            } else {
                run = RunOculan(stage);
                bare = BareWindowMs(stage);
            }
            if (bare < 0) return state.SkipWithError("the bare window never showed");
            if (run.failure != nullptr) return state.SkipWithError(run.failure);
            const double keys = FirstKeyFramesMs(stage);
            if (keys < 0) return state.SkipWithError("a bare client got no key frames");
            bare_ms.push_back(bare);
            window_ms.push_back(run.window_ms);
            connect_ms.push_back(run.connect_drawn_ms);
            all_cells_ms.push_back(run.all_cells_ms);
            keys_ms.push_back(keys);
            loads.push_back(LoadAverage());
            window_ratios.push_back(run.window_ms / bare);
            all_cells_ratios.push_back(run.all_cells_ms / bare);
            floor_ratios.push_back((bare + keys) / bare);
        }
    }
    state.counters["bare_window_ms"] = Median(bare_ms);
    state.counters["window_ms"] = Median(window_ms);
    state.counters["connect_drawn_ms"] = Median(connect_ms);
    state.counters["all_cells_ms"] = Median(all_cells_ms);
    state.counters["first_keys_ms"] = Median(keys_ms);
    state.counters["window_vs_bare"] = Median(window_ratios);
    state.counters["window_vs_bare_min"] =
        *std::min_element(window_ratios.begin(), window_ratios.end());
    state.counters["window_vs_bare_max"] =
        *std::max_element(window_ratios.begin(), window_ratios.end());
    state.counters["all_cells_vs_bare"] = Median(all_cells_ratios);
    state.counters["all_cells_vs_bare_min"] =
        *std::min_element(all_cells_ratios.begin(), all_cells_ratios.end());
    state.counters["all_cells_vs_bare_max"] =
        *std::max_element(all_cells_ratios.begin(), all_cells_ratios.end());
    state.counters["all_cells_floor_vs_bare"] = Median(floor_ratios);
    state.counters["load_min"] = *std::min_element(loads.begin(), loads.end());
    state.counters["load_max"] = *std::max_element(loads.begin(), loads.end());
}

BENCHMARK(BM_StartUp)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
