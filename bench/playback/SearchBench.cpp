// A day's record search in the playback window: from the log-in to the painted timeline, for
// four cameras that recorded 1,800 times that day (six pages of the record list). Peer, in the
// same run: the bare round trips of the same record pages through the recorder client on a
// connection that is already logged in.
#include <benchmark/benchmark.h>

#include <unistd.h>
#include <QApplication>
#include <QCalendarWidget>
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <vector>

#include "bench/support/BenchMeasures.h"
#include "playback/app/CPlaybackDlg.h"
#include "playback/app/CRecordTimeline.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int64_t kDay = 14484;  // 28 August 2009
constexpr int kDayKey = 1090728;
constexpr int kRounds = 41;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

// A recorder of four cameras with a recording of 40 s every 48 s of the day.
RecorderConfig BusyRecorder() {
    RecorderConfig config = DefaultRecorderConfig(4, kDay);
    config.loop_frames = 5;
    config.day_schedule.clear();
    for (int start_s = 0; start_s < 86400; start_s += 48) {
        config.day_schedule.push_back({start_s, start_s + 40, 0xF});
    }
    config.first_record_day = config.last_record_day = kDay;
    return config;
}

// A program folder with the installed tree's channel-name images, which the window needs.
fs::path ProgramFolder() {
    const fs::path folder =
        fs::temp_directory_path() / ("search_bench_" + std::to_string(getpid()));
    fs::create_directories(folder / "config");
    const fs::path tree = SUITE_TREE_DIR "/ClientSoftware";
    for (const char* overlay : {"channel.yuv", "cif_8_channel.yuv"}) {
        fs::create_symlink(tree / "config" / overlay, folder / "config" / overlay);
    }
    return folder;
}

void BM_DaySearchToPaintedTimeline(benchmark::State& state) {
    const fs::path folder = ProgramFolder();
    RecorderEmulator emulator;
    std::string error;
    if (!emulator.Start({BusyRecorder()}, folder / "sandbox", &error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    const std::string server = "127.0.0.1:" + std::to_string(emulator.Port(0));

    CPlaybackDlg window(folder.string());
    window.OnInitDialog();
    window.show();
    window.Calendar()->setSelectedDate(QDate(2009, 8, 28));
    LanguageSelect texts;
    NetCtrl peer;
    peer.InitNetWork();
    if (peer.ConnectToServer("127.0.0.1", emulator.Port(0), "guest", "guest") < 0) {
        state.SkipWithError("the peer cannot log in");
        return;
    }
    RecordPage page{};

    std::vector<double> window_ms, search_ms, bare_ms, ratios, search_ratios;
    for (auto _ : state) {
        for (int round = 0; round < kRounds; ++round) {
            const auto t0 = Clock::now();
            CPlaybackLogin& login = window.LoginDialog().Login();
            login.SetNetCtrl(&window.Connection());
            if (!login.Confirm(texts, "admin", "admin", server).accepted) {
                state.SkipWithError("the window cannot log in");
                return;
            }
            const auto logged_in = Clock::now();
            window.ShowDiskInfo();
            const int found = window.SearchRecords();
            while (window.Searching())
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
            window.Timeline()->repaint();
            const auto t1 = Clock::now();
            window.OnLogout();

            const auto t2 = Clock::now();
            const int pages = peer.TimeToSearchRecList(kDayKey, page.data(), 0);
            for (int p = 1; p < pages; ++p)
                peer.TimeToSearchRecList(kDayKey, page.data(), p);
            const auto t3 = Clock::now();
            if (found != 1 || pages != 6) {
                state.SkipWithError("the day's list is not six pages");
                return;
            }
            window_ms.push_back(Milliseconds(t1 - t0));
            search_ms.push_back(Milliseconds(t1 - logged_in));
            bare_ms.push_back(Milliseconds(t3 - t2));
            ratios.push_back(window_ms.back() / bare_ms.back());
            search_ratios.push_back(search_ms.back() / bare_ms.back());
        }
    }
    state.counters["window_ms"] = Median(window_ms);
    state.counters["bare_pages_ms"] = Median(bare_ms);
    state.counters["ratio"] = Median(ratios);
    state.counters["ratio_min"] = *std::min_element(ratios.begin(), ratios.end());
    state.counters["ratio_max"] = *std::max_element(ratios.begin(), ratios.end());
    // From the log-in's end: disk query, six pages, marking and painting.
    state.counters["search_ms"] = Median(search_ms);
    state.counters["search_ratio"] = Median(search_ratios);
    state.counters["search_ratio_min"] =
        *std::min_element(search_ratios.begin(), search_ratios.end());
    state.counters["search_ratio_max"] =
        *std::max_element(search_ratios.begin(), search_ratios.end());
    emulator.Stop();
    fs::remove_all(folder);
}
BENCHMARK(BM_DaySearchToPaintedTimeline)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
