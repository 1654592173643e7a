// Layout switching and paging in the live view's all-devices view at its fullest: 256 cameras
// of 16 emulated recorders (16 CIF channels each, 25 pictures a second), the main window
// offscreen in this process, the recorders in a process of their own. For each layout button:
// the time from the press to the grid drawn anew, and to a picture in every cell it shows,
// first switching to the layout, then paging it; each against one frame interval at 25 fps
// (40 ms). Then the grid's own repaint per layout, against one fill of the same area (a blank
// window's repaint) measured in the same run. The press holds the window for the grid's
// settle of 800 ms by design; the figures say how much comes on top of it.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "bench/support/BenchMeasures.h"
#include "common/ui/widgets/VideoGrid.h"
#include "liveview/app/CLiveViewDlg.h"
#include "liveview/core/store/UserStore.h"
#include "liveview/core/streaming/WindowMap.h"
#include "liveview/core/window/LiveViewIds.h"
#include "liveview/manager/DvrManager.h"
#include "platform/surface/VideoSurfaceView.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "tests/support/PollUntil.h"
#include "tests/support/realwindow/ChildProcess.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRecorders = 16;
constexpr int kChannels = 16;
constexpr double kFrameInterval_ms = 40.0;
constexpr int kRepetitions = 3;
const int kLayouts[] = {4, 9, 16, 25, 36, 64, 144, 256};

// The window over 16 recorders, every camera in a cell of the all-devices view.
class Stage {
public:
    Stage()
        : folder_(fs::temp_directory_path() / ("oculan_views_bench_" + std::to_string(::getpid()))),
          emulator_(EMULATOR_PROGRAM,
                    {"--recorders", std::to_string(kRecorders), "--channels",
                     std::to_string(kChannels), "--size", "2", "--base-port", "0", "--live-fps",
                     "25", "--sandbox", (folder_ / "sandbox").string()}) {
        fs::create_directories(folder_);
        if (!emulator_.WaitForOutput(std::regex("recorder 16: 127"), kPollLimit_ms)) return;
        UserStoreContent content;
        const std::string output = emulator_.Output();
        const std::regex port(R"(recorder (\d+): 127\.0\.0\.1:(\d+))");
        for (auto it = std::sregex_iterator(output.begin(), output.end(), port);
             it != std::sregex_iterator(); ++it) {
            content.devices.AddDvr("127.0.0.1:" + (*it)[2].str(), "", "admin", "admin",
                                   "DVR" + (*it)[1].str());
        }
        for (int cell = 0; cell < CWindowMap::kCells; ++cell)
            content.window_map[cell] = MakeChannelKey(cell / kChannels, cell % kChannels);
        const std::string store = (folder_ / "uss.dat").string();
        if (content.devices.GetDvrCount() != kRecorders || CUserStore(store).Save(content) != 1)
            return;
        manager_ = std::make_unique<CDvrManager>(audio_, store);
        window_ = std::make_unique<CLiveViewDlg>(*manager_, SUITE_TREE_DIR "/ClientSoftware");
        if (!window_->OnInitDialog()) return;
        window_->show();
        // The root, CONNECT: every device links.
        window_->Tree()->setCurrentItem(window_->Tree()->topLevelItem(0));
        Press(live_view_id::kConnect);
        ready_ = PollUntil([&] {
            for (int a = 0; a < kRecorders; ++a) {
                if (manager_->GetMachineInfo(a).nLinkState != kLinkStreaming) return false;
            }
            return true;
        });
    }
    ~Stage() {
        window_.reset();
        manager_.reset();
        fs::remove_all(folder_);
    }

    bool Ready() const { return ready_; }
    CVideoGrid& Grid() const { return *window_->Grid(); }

    void Press(int id) const { qobject_cast<QAbstractButton*>(window_->Control(id))->click(); }

    static bool PollUntil(const std::function<bool()>& condition) {
        QElapsedTimer waited;
        waited.start();
        while (!condition()) {
            if (waited.elapsed() > kPollLimit_ms) return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return true;
    }

    // Whether every shown cell holds a picture drawn since the grid was last wiped.
    bool EveryCellPictured() const {
        const auto surface = CVideoSurfaceView::SurfaceOf(window_.get());
        const QPoint grid = Grid().mapTo(window_.get(), QPoint(0, 0));
        bool all = true;
        surface->Read([&](const std::uint32_t* pixels, int width, int height) {
            for (int i = 0; i < CVideoGridLayout::kCellCount && all; ++i) {
                const VideoCell c = Grid().Cells().Cell(i);
                if (!c.visible) continue;
                const int x = grid.x() + c.video_x + c.video_width / 2;
                const int y = grid.y() + c.video_y + c.video_height / 4;
                all = x < width && y < height && pixels[y * width + x] != 0;
            }
        });
        return all;
    }

private:
    fs::path folder_;
    ChildProcess emulator_;
    ManualClockWaveOut audio_;
    std::unique_ptr<CDvrManager> manager_;
    std::unique_ptr<CLiveViewDlg> window_;
    bool ready_ = false;
};

// Made at the first measurement that needs it; gone before the application object.
std::unique_ptr<Stage> g_stage;

Stage& TheStage() {
    if (!g_stage) g_stage = std::make_unique<Stage>();
    return *g_stage;
}

int ButtonOf(int layout) {
    using namespace live_view_id;
    const std::map<int, int> buttons = {{4, kWindow4},     {9, kWindow9},    {16, kWindow16},
                                        {25, kWindow25},   {36, kWindow36},  {64, kWindow64},
                                        {144, kWindow144}, {256, kWindow256}};
    return buttons.at(layout);
}

struct Figures {
    std::vector<double> drawn_ms;
    std::vector<double> pictured_ms;
};
std::map<std::string, Figures> g_figures;

// One press of the layout's button, timed to the grid's next paint and to a picture in every
// cell it shows.
void TimePress(benchmark::State& state, Stage& stage, int layout, Figures& figures) {
    bool painted = false;
    struct PaintWatch : QObject {
        bool* painted;
        explicit PaintWatch(bool* p) : painted(p) {}
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) *painted = true;
            return false;
        }
    } watch(&painted);
    stage.Grid().installEventFilter(&watch);
    QElapsedTimer since_press;
    since_press.start();
    stage.Press(ButtonOf(layout));
    // The paint happens inside the call that saw it begin, so the time after it has ended.
    while (!painted && since_press.elapsed() < kPollLimit_ms)
        QCoreApplication::processEvents();
    const double drawn_ms = static_cast<double>(since_press.nsecsElapsed()) / 1e6;
    stage.Grid().removeEventFilter(&watch);
    if (!Stage::PollUntil([&] { return stage.EveryCellPictured(); }))
        return state.SkipWithError("the cells never all showed a picture again");
    const double pictured_ms = static_cast<double>(since_press.nsecsElapsed()) / 1e6;
    state.SetIterationTime(drawn_ms / 1000);
    state.counters["drawn_ms"] = drawn_ms;
    state.counters["drawn_vs_frame"] = drawn_ms / kFrameInterval_ms;
    state.counters["pictured_ms"] = pictured_ms;
    state.counters["pictured_vs_frame"] = pictured_ms / kFrameInterval_ms;
    figures.drawn_ms.push_back(drawn_ms);
    figures.pictured_ms.push_back(pictured_ms);
}

// From another layout to this one.
void BM_SwitchTo(benchmark::State& state) {
    Stage& stage = TheStage();
    if (!stage.Ready()) return state.SkipWithError("the recorders or the window did not start");
    const int layout = static_cast<int>(state.range(0));
    for (auto _ : state) {
        stage.Press(ButtonOf(layout == 16 ? 4 : 16));
        Stage::PollUntil([&] { return stage.EveryCellPictured(); });
        TimePress(state, stage, layout, g_figures["switch " + std::to_string(layout)]);
    }
}

// The next page of the layout shown.
void BM_NextPage(benchmark::State& state) {
    Stage& stage = TheStage();
    if (!stage.Ready()) return state.SkipWithError("the recorders or the window did not start");
    const int layout = static_cast<int>(state.range(0));
    for (auto _ : state) {
        if (stage.Grid().Cells().Layout() != layout) stage.Press(ButtonOf(layout));
        Stage::PollUntil([&] { return stage.EveryCellPictured(); });
        TimePress(state, stage, layout, g_figures["page " + std::to_string(layout)]);
    }
}

std::map<int, double> g_paint_us;
double g_fill_us = 0;

// The grid's own paint of a layout with every cell titled, into an image of its size.
void BM_GridRepaint(benchmark::State& state) {
    const int layout = static_cast<int>(state.range(0));
    CVideoGrid grid;
    grid.resize(750, 592);
    grid.Init(256, layout);
    grid.SetColors(0x502D06, 0xFFFFFF, 0);
    for (int i = 0; i < CVideoGridLayout::kCellCount; ++i)
        grid.SetChannelName(i, "DVR" + std::to_string(i / 16 + 1) + ":CH" + std::to_string(i % 16));
    QImage image(grid.size(), QImage::Format_RGB32);
    QElapsedTimer clock;
    clock.start();
    int64_t paints = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        grid.Paint(painter);
        ++paints;
    }
    const double us = static_cast<double>(clock.nsecsElapsed()) / 1e3 / static_cast<double>(paints);
    g_paint_us[layout] = us;
    state.counters["paint_us"] = us;
    state.counters["vs_frame"] = us / (kFrameInterval_ms * 1000);
    if (g_fill_us > 0) state.counters["vs_blank_fill"] = us / g_fill_us;
}

// The peer: one fill of the same area, what repainting a blank window of that size costs.
void BM_BlankFill(benchmark::State& state) {
    QImage image(750, 592, QImage::Format_RGB32);
    QElapsedTimer clock;
    clock.start();
    int64_t fills = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        painter.fillRect(image.rect(), QColor(6, 45, 80));
        ++fills;
    }
    g_fill_us = static_cast<double>(clock.nsecsElapsed()) / 1e3 / static_cast<double>(fills);
    state.counters["fill_us"] = g_fill_us;
}

void Layouts(benchmark::internal::Benchmark* b) {
    for (int layout : kLayouts)
        b->Arg(layout);
}

BENCHMARK(BM_BlankFill)->MinTime(0.5);
BENCHMARK(BM_GridRepaint)->Apply(Layouts)->MinTime(0.5);
BENCHMARK(BM_SwitchTo)
    ->Apply(Layouts)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextPage)
    ->Apply(Layouts)
    ->Iterations(1)
    ->Repetitions(kRepetitions)
    ->ReportAggregatesOnly(true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void PrintSummary() {
    std::printf(
        "\nLayout buttons on 256 cameras of %d recorders (median of %d, min-max), "
        "against one frame interval of %.0f ms:\n",
        kRecorders, kRepetitions, kFrameInterval_ms);
    std::printf("  %-12s %10s %8s %15s %12s %12s %8s\n", "press", "drawn ms", "frames", "spread",
                "past settle", "pictured ms", "frames");
    for (const char* kind : {"switch", "page"}) {
        for (int layout : kLayouts) {
            const auto it = g_figures.find(std::string(kind) + " " + std::to_string(layout));
            if (it == g_figures.end() || it->second.drawn_ms.empty()) continue;
            const auto& d = it->second.drawn_ms;
            const double drawn = Median(d);
            const double pictured = Median(it->second.pictured_ms);
            std::printf("  %-6s %5d %10.1f %8.1f %7.1f-%-7.1f %12.1f %12.1f %8.1f\n", kind, layout,
                        drawn, drawn / kFrameInterval_ms, *std::min_element(d.begin(), d.end()),
                        *std::max_element(d.begin(), d.end()), drawn - CVideoGrid::kLayoutSettle_ms,
                        pictured, pictured / kFrameInterval_ms);
        }
    }
    std::printf("  (the grid's settle holds every press %d ms by design: %.1f frames of it)\n",
                CVideoGrid::kLayoutSettle_ms, CVideoGrid::kLayoutSettle_ms / kFrameInterval_ms);
    std::printf(
        "\nThe grid's repaint per layout, against a frame interval and a blank fill "
        "(%.1f us):\n",
        g_fill_us);
    for (const auto& [layout, us] : g_paint_us) {
        std::printf("  %3d cells: %8.1f us  %6.4f of a frame  %6.1f x the blank fill\n", layout, us,
                    us / (kFrameInterval_ms * 1000), g_fill_us > 0 ? us / g_fill_us : 0.0);
    }
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    g_stage.reset();
    PrintSummary();
    benchmark::Shutdown();
    return 0;
}
