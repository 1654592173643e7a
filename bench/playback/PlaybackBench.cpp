// The playback decode path against the recorder emulator on loopback, each figure against a
// peer measured in the same run:
// - Seek: from the play slider's release (key-frame flags cleared, the new request sent) to
//   the first picture of the new place drawn in all four panes, against the least a seek can
//   take: one round trip on loopback that brings the four cameras' key frames, then those
//   decoded and drawn into their panes as the decode thread does. Each seek is followed by
//   the peer's, so both see the same load. Also against the emulator's own time from the
//   request's arrival to having sent the first key frame of all four cameras.
// - Backup: frames per second written to the file pair while the recorder sends a span as
//   fast as it can, against a client that receives the same span and discards it, taking every
//   waiting frame at once as the decode thread does. Rounds of the two alternate on one
//   recorder; the median, least and most of the rounds' ratios are printed with the machine's
//   load average.
// Seeks: three repetitions, the ratios taken against the peer's median.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

#include "bench/support/BenchMeasures.h"
#include "common/audio/WaveOutPlayer.h"
#include "common/picture/H264Decoder.h"
#include "common/picture/PictureFormat.h"
#include "common/ui/core/VideoGridLayout.h"
#include "common/ui/core/VideoOutput.h"
#include "platform/ddraw/Yuy2Picture.h"
#include "platform/net/ListenSocket.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/netctrl/protocol/SocketIo.h"
#include "platform/surface/VideoSurface.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "playback/core/backup/BackupWriter.h"
#include "playback/core/decode/ChannelNameOverlay.h"
#include "playback/core/decode/DecodeThread.h"
#include "playback/core/decode/PlaybackShared.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/LoopCache.h"
#include "tools/recorder-emulator/PictureSize.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int64_t kDay = 20796;  // 2026-12-09
constexpr int kRepetitions = 3;
constexpr int kSeeks = 12;
constexpr ScreenRect kGridWindow{21, 20, 21 + 727, 20 + 606};
// Most of the day: at fast speed a span long enough (some hundreds of milliseconds) that the
// machine's noise does not decide the ratio.
constexpr int kBackupStart_s = 3600;
constexpr int kBackupEnd_s = 23 * 3600;
constexpr int kBackupRounds = 9;

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

std::filesystem::path Scratch(const char* what) {
    return std::filesystem::temp_directory_path() /
           (std::string("playback_bench_") + what + "_" + std::to_string(::getpid()));
}

// Four cameras of the given size code (0 = 720 x 576, 2 = 352 x 288), H.264, a key frame
// every second, recorded all day.
RecorderConfig Recorder(uint8_t size_code) {
    RecorderConfig config = DefaultRecorderConfig(4, kDay);
    config.channel_formats.assign(4, ChannelFormat{0, size_code});
    config.loop_frames = 25;
    return config;
}

// Draws into the window's surface as the display does, and notes when each pane first shows
// a picture of a frame at or after the armed time.
class PaneWatch : public CVideoOutput {
public:
    PaneWatch(const PlaybackShared& shared, const CVideoGridLayout& grid)
        : shared_(shared), grid_(grid) {
        surface_.Resize(kGridWindow.right, kGridWindow.bottom);
    }

    int DrawPlanes(const ScreenRect& dest, int width, int height,
                   const DecodedPicture& planes) override {
        const unsigned char* const pointers[3] = {planes.luma, planes.u, planes.v};
        const int strides[3] = {planes.luma_stride, planes.u_stride, planes.v_stride};
        const int rows = ::DrawYuv420(surface_, dest, width, height, pointers, strides);
        Note(dest);
        return rows;
    }
    int DrawBgr24(const ScreenRect& dest, int, int, const uint8_t*) override {
        Note(dest);
        return 0;
    }
    int DrawYuy2(const ScreenRect& dest, int width, int height, uint8_t* picture) override {
        const int rows = ::DrawYuy2(surface_, dest, width, height, picture);
        Note(dest);
        return rows;
    }

    void Arm(int64_t frame_time) {
        std::lock_guard lock(mutex_);
        for (int pane = 0; pane < 4; ++pane) {
            const VideoCell cell = grid_.Cell(pane);
            panes_[pane] = {kGridWindow.left + cell.video_x, kGridWindow.top + cell.video_y,
                            kGridWindow.left + cell.video_x + cell.video_width,
                            kGridWindow.top + cell.video_y + cell.video_height};
        }
        target_ = frame_time;
        seen_ = {};
        shown_ = 0;
    }
    // When the last pane showed the new place, or nothing when the limit passed first.
    std::optional<Clock::time_point> WaitForAllPanes(std::chrono::seconds limit) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, limit, [this] { return shown_ == 4; })) return std::nullopt;
        return last_;
    }

private:
    void Note(const ScreenRect& dest) {
        const int64_t frame_time = shared_.play_time.load();
        std::lock_guard lock(mutex_);
        if (frame_time < target_) return;
        for (int pane = 0; pane < 4; ++pane) {
            if (dest == panes_[pane] && !seen_[pane]) {
                seen_[pane] = true;
                last_ = Clock::now();
                if (++shown_ == 4) changed_.notify_all();
            }
        }
    }

    const PlaybackShared& shared_;
    const CVideoGridLayout& grid_;
    CVideoSurface surface_;
    std::array<ScreenRect, 4> panes_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int64_t target_ = 0;
    std::array<bool, 4> seen_{};
    int shown_ = 0;
    Clock::time_point last_;
};

// The playback window's decode path, logged in to the emulator's recorder with the day
// searched and cameras 1 to 4 in the four rows.
struct PlaybackPath {
    explicit PlaybackPath(const RecorderEmulator& emulator) {
        stereo.Open(2);
        mono.Open(1);
        grid.Init(4, 4);
        grid.ComputeCells(0, 0, kGridWindow.Width(), kGridWindow.Height());
        shared.grid_rect[0] = kGridWindow.left;
        shared.grid_rect[1] = kGridWindow.top;
        shared.grid_rect[2] = kGridWindow.right;
        shared.grid_rect[3] = kGridWindow.bottom;
        for (int row = 0; row < 4; ++row)
            shared.row_channels[row] = row + 1;
        shared.channel_mask = 0xF;
        thread.SetGrid(&grid);
        std::array<_QRF_FILESHOWINFO, 300> page{};
        ok = thread.StartDecodeThread() == 1 &&
             connection.ConnectToServer("127.0.0.1", emulator.Port(0), "admin", "admin") >= 0 &&
             connection.TimeToSearchRecList(KeyOfDayNumber(kDay), page.data(), 0) > 0;
    }
    ~PlaybackPath() { thread.StopDecodeThread(); }

    bool Streaming() { return connection.GetMachineInfe().nLinkState == kLinkStreaming; }

    NetCtrl connection;
    PlaybackShared shared;
    CBackupWriter backup{shared.backup_mode};
    ManualClockWaveOut audio;
    CWaveOutPlayer stereo{audio};
    CWaveOutPlayer mono{audio};
    CChannelNameOverlay overlay;
    CVideoGridLayout grid;
    PaneWatch watch{shared, grid};
    CDecodeThread thread{{connection, shared, backup, stereo, mono, overlay, watch}};
    bool ok = false;
};

// The seek's peer: the request goes to a server on loopback that answers at once with the
// key frames of the four cameras at the new place (their heads and payloads, as the recorder
// sends them); those are then decoded and drawn from their planes into the panes by the
// decode thread's own steps, on one thread. Nothing of it waits on a timer.
class SeekPeer {
public:
    SeekPeer(const RecorderConfig& config, const CVideoGridLayout& grid) {
        surface_.Resize(kGridWindow.right, kGridWindow.bottom);
        for (int pane = 0; pane < 4; ++pane) {
            const ChannelFormat format = config.channel_formats[pane];
            const PictureSize size = *PictureSizeOf(format.standard, format.size_code);
            const auto loop = LoopCache::Shared().Get(
                {config.Codec(), size.width, size.height, pane, config.loop_frames, config.fps});
            const EncodedFrame& key = loop->frames.front();
            Camera& camera = cameras_[pane];
            camera.width = size.width;
            camera.height = size.height;
            camera.length = static_cast<int>(key.payload.size());
            camera.decoder.OpenFor(size.width, size.height);
            _NET_FRAME_HEAD_ head{};
            head.cType = 'V';
            head.nChannel = pane;
            head.nKeyFrame = 1;
            head.nLength = static_cast<uint32_t>(key.payload.size());
            const auto* bytes = reinterpret_cast<const uint8_t*>(&head);
            reply_.insert(reply_.end(), bytes, bytes + sizeof head);
            reply_.insert(reply_.end(), key.payload.begin(), key.payload.end());
            const VideoCell cell = grid.Cell(pane);
            camera.pane = {kGridWindow.left + cell.video_x, kGridWindow.top + cell.video_y,
                           kGridWindow.left + cell.video_x + cell.video_width,
                           kGridWindow.top + cell.video_y + cell.video_height};
        }
        listener_.OpenLoopback(1);
        std::string error;
        client_ = netproto::ConnectTcp("127.0.0.1", listener_.Port(), 5000, error);
        server_ = listener_.Accept(5000);
        ok_ = client_ >= 0 && server_ >= 0;
        if (ok_) answering_ = std::thread([this] { Answer(); });
    }
    ~SeekPeer() {
        if (client_ >= 0) ::close(client_);  // ends the server's wait
        if (answering_.joinable()) answering_.join();
        if (server_ >= 0) ::close(server_);
    }
    bool Ok() const { return ok_; }

    // Milliseconds from the request to the fourth pane drawn, or a negative value on failure.
    double SeekMs() {
        const auto start = Clock::now();
        const char request[kRequestBytes] = {};
        std::vector<uint8_t> reply(reply_.size());
        if (netproto::SendAll(client_, request, sizeof request, 5000) != netproto::IoStatus::kOk ||
            netproto::RecvExact(client_, reply.data(), reply.size(), 5000) !=
                netproto::IoStatus::kOk) {
            return -1;
        }
        const uint8_t* at = reply.data();
        for (Camera& camera : cameras_) {
            at += sizeof(_NET_FRAME_HEAD_);
            if (camera.decoder.DecodeFrame(at, camera.length, picture_.data(), picture_.size()) !=
                DecodeResult::kPicture) {
                return -1;
            }
            const DecodedPicture planes = camera.decoder.Decoded();
            const unsigned char* const pointers[3] = {planes.luma, planes.u, planes.v};
            const int strides[3] = {planes.luma_stride, planes.u_stride, planes.v_stride};
            DrawYuv420(surface_, camera.pane, camera.width, camera.height, pointers, strides);
            at += camera.length;
        }
        return Milliseconds(Clock::now() - start);
    }

private:
    static constexpr std::size_t kRequestBytes = 64;  // about a play request's size

    struct Camera {
        CH264Decoder decoder;
        int width = 0;
        int height = 0;
        int length = 0;
        ScreenRect pane;
    };

    void Answer() {
        char request[kRequestBytes];
        while (netproto::RecvExact(server_, request, sizeof request, 60000) ==
               netproto::IoStatus::kOk) {
            if (netproto::SendAll(server_, reply_.data(), reply_.size(), 5000) !=
                netproto::IoStatus::kOk) {
                return;
            }
        }
    }

    std::array<Camera, 4> cameras_;
    std::vector<uint8_t> reply_;
    std::vector<uint8_t> picture_ = std::vector<uint8_t>(kMaxPictureBgrBytes);
    CVideoSurface surface_;
    ListenSocket listener_;
    int client_ = -1;
    int server_ = -1;
    bool ok_ = false;
    std::thread answering_;
};

bool StartEmulator(RecorderEmulator& emulator, const RecorderConfig& config,
                   benchmark::State& state) {
    std::string error;
    if (emulator.Start({config}, Scratch("sandbox"), &error)) return true;
    state.SkipWithError(error.c_str());
    return false;
}

// Seeks forward half an hour at a time through the day, as releases of the play slider do;
// after each, the peer's seek.
void BM_Seek(benchmark::State& state) {
    const RecorderConfig config = Recorder(static_cast<uint8_t>(state.range(0)));
    RecorderEmulator emulator;
    if (!StartEmulator(emulator, config, state)) return;
    PlaybackPath path(emulator);
    if (!path.ok) return state.SkipWithError("no log-in");
    SeekPeer peer(config, path.grid);
    if (!peer.Ok()) return state.SkipWithError("the peer's loopback link did not open");
    path.shared.play_state = PlaybackShared::kPlayStateShowing;
    std::vector<double> latencies_ms;
    std::vector<double> peer_ms;
    std::vector<double> recorder_ms;
    for (auto _ : state) {
        for (int seek = 0; seek < kSeeks; ++seek) {
            const int position_min = 60 + 30 * seek;
            const int seconds = position_min * 60;
            path.watch.Arm(kDay * 86400 + seconds);
            const auto released = Clock::now();
            path.thread.ClearKeyFrameFlags();
            path.connection.NetPlayFile(seconds, 86400, path.shared.channel_mask, 0, 0);
            const auto shown = path.watch.WaitForAllPanes(std::chrono::seconds(20));
            if (!shown) return state.SkipWithError("the new place never showed in all panes");
            latencies_ms.push_back(Milliseconds(*shown - released));
            // The recorder notes its time once the last key frame is out, which on a loaded
            // machine can be after the client has drawn it.
            RecorderJournal journal = emulator.Journal(0);
            const auto noted_by = Clock::now() + std::chrono::seconds(5);
            while ((journal.play_requests.empty() ||
                    journal.play_requests.back().first_key_frames_us < 0) &&
                   Clock::now() < noted_by) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                journal = emulator.Journal(0);
            }
            if (journal.play_requests.empty() ||
                journal.play_requests.back().first_key_frames_us < 0) {
                return state.SkipWithError("the recorder did not note its first key frames");
            }
            recorder_ms.push_back(journal.play_requests.back().first_key_frames_us / 1000.0);
            const double peer_seek_ms = peer.SeekMs();
            if (peer_seek_ms < 0) return state.SkipWithError("the peer's seek failed");
            peer_ms.push_back(peer_seek_ms);
        }
    }
    std::vector<double> ratios;
    for (std::size_t i = 0; i < latencies_ms.size(); ++i)
        ratios.push_back(latencies_ms[i] / peer_ms[i]);
    const double latency = Median(latencies_ms);
    const double recorder = Median(recorder_ms);
    state.counters["seek_ms"] = latency;
    state.counters["seek_max_ms"] = *std::max_element(latencies_ms.begin(), latencies_ms.end());
    state.counters["peer_ms"] = Median(peer_ms);
    state.counters["vs_peer"] = Median(ratios);
    state.counters["vs_peer_min"] = *std::min_element(ratios.begin(), ratios.end());
    state.counters["vs_peer_max"] = *std::max_element(ratios.begin(), ratios.end());
    state.counters["recorder_first_keys_ms"] = recorder;
    state.counters["vs_recorder"] = latency / std::max(recorder, 1e-3);
}

// The peer: a client that receives the span through the recorder client library and drops
// it, taking every waiting frame at once, as fast as the library hands them out.
class DiscardPeer {
public:
    DiscardPeer(const RecorderEmulator& emulator, std::size_t recorder) {
        client_.InitNetWork();
        std::array<_QRF_FILESHOWINFO, 300> page{};
        ok_ =
            client_.ConnectToServer("127.0.0.1", emulator.Port(recorder), "admin", "admin") >= 0 &&
            client_.TimeToSearchRecList(KeyOfDayNumber(kDay), page.data(), 0) > 0;
    }
    ~DiscardPeer() { client_.StopNetWork(); }
    bool Ok() const { return ok_; }

    // Frames received and the time the span took.
    std::pair<int64_t, Clock::duration> Receive() {
        int64_t frames = 0;
        const auto start = Clock::now();
        client_.NetPlayFile(kBackupStart_s, kBackupEnd_s, 0xF, 0, 1);
        for (;;) {
            client_.TakePicBufs(taken_);
            if (!taken_.empty()) {
                frames += static_cast<int64_t>(taken_.size());
                client_.RecyclePicBufs(taken_);
                continue;
            }
            if (client_.GetMachineInfe().nLinkState != kLinkStreaming) break;
            client_.WaitForPicBuf(10);
        }
        return {frames, Clock::now() - start};
    }

private:
    NetCtrl client_;
    std::vector<FrameQueue::Taken> taken_;
    bool ok_ = false;
};

// The backup's span, written into a pair as the playback window's backup does, against the
// discarding peer on the same recorder. Rounds alternate which of the two goes first, so both
// see the same load; each round's ratio is the backup's frames per second over the peer's.
void BM_BackupVsDiscard(benchmark::State& state) {
    // Two recorders alike in one emulator, one for each: a recorder plays to one client.
    const RecorderConfig config = Recorder(static_cast<uint8_t>(state.range(0)));
    RecorderEmulator emulator;
    std::string error;
    if (!emulator.Start({config, config}, Scratch("sandbox"), &error))
        return state.SkipWithError(error.c_str());
    PlaybackPath path(emulator);
    if (!path.ok) return state.SkipWithError("no log-in");
    DiscardPeer peer(emulator, 1);
    if (!peer.Ok()) return state.SkipWithError("the peer did not log in");
    // An untimed round fills the recorder's loops and tells how many frames the span holds.
    const int64_t span_frames = peer.Receive().first;
    if (span_frames <= 0) return state.SkipWithError("the span brought no frames");
    const std::filesystem::path folder = Scratch("backup");
    const int64_t day_s = kDay * 86400;

    // Until the last frame of the span is in the pair (or was refused by its check) and the
    // pair is closed, its writes done. A look each millisecond: finer looks take the loaded
    // machine's time from the backup itself.
    const auto backup_round = [&]() -> std::optional<Clock::duration> {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        path.backup.Begin();
        path.backup.SetDirectory(folder.string());
        path.backup.SetStream(day_s + kBackupStart_s, day_s + kBackupEnd_s, 0);
        const auto start = Clock::now();
        path.connection.NetPlayFile(kBackupStart_s, kBackupEnd_s, 0xF, 0, 1);
        const auto limit = start + std::chrono::seconds(120);
        while (path.backup.FramesKept() + path.backup.FramesRefused() <
                   static_cast<uint64_t>(span_frames) &&
               !path.backup.Failed() && Clock::now() < limit) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        path.backup.End();
        const auto end = Clock::now();
        if (path.backup.Failed() || path.backup.FramesKept() != static_cast<uint64_t>(span_frames))
            return std::nullopt;
        return end - start;
    };

    std::vector<double> ratios;
    std::vector<double> backup_ms;
    std::vector<double> peer_ms;
    const double load_before = LoadAverage();
    for (auto _ : state) {
        for (int round = 0; round < kBackupRounds; ++round) {
            std::optional<Clock::duration> backup;
            std::pair<int64_t, Clock::duration> received;
            if (round % 2 == 0) {
                backup = backup_round();
                received = peer.Receive();
            } else {
                received = peer.Receive();
                backup = backup_round();
            }
            if (!backup) return state.SkipWithError("the backup did not write the whole span");
            if (received.first != span_frames)
                return state.SkipWithError("the peer did not receive the whole span");
            backup_ms.push_back(Milliseconds(*backup));
            peer_ms.push_back(Milliseconds(received.second));
            // Both moved the same frames: the ratio of speeds is the inverse ratio of times.
            ratios.push_back(peer_ms.back() / backup_ms.back());
        }
    }
    std::filesystem::remove_all(folder);
    const double median = Median(ratios);
    const auto [least, most] = std::minmax_element(ratios.begin(), ratios.end());
    state.counters["frames"] = static_cast<double>(span_frames);
    state.counters["backup_ms"] = Median(backup_ms);
    state.counters["peer_ms"] = Median(peer_ms);
    state.counters["frames_per_s"] = static_cast<double>(span_frames) / Median(backup_ms) * 1000;
    state.counters["vs_discard"] = median;
    state.counters["vs_discard_min"] = *least;
    state.counters["vs_discard_max"] = *most;
    state.counters["load_before"] = load_before;
    state.counters["load_after"] = LoadAverage();
}

void Sizes(benchmark::internal::Benchmark* b) {
    b->ArgName("size_code")->Arg(2)->Arg(0);
    b->Iterations(1)->Repetitions(kRepetitions)->ReportAggregatesOnly(true)->UseRealTime();
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_Seek)->Apply(Sizes);
BENCHMARK(BM_BackupVsDiscard)
    ->ArgName("size_code")
    ->Arg(2)
    ->Arg(0)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
