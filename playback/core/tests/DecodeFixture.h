#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "BackupWriter.h"
#include "ChannelNameOverlay.h"
#include "ChannelPicture.h"
#include "DayKey.h"
#include "DecodeThread.h"
#include "ManualClockWaveOut.h"
#include "NameImage.h"
#include "NetCtrl.h"
#include "PictureOutput.h"
#include "PlaybackShared.h"
#include "RecorderEmulator.h"
#include "TestFolder.h"
#include "VideoGridLayout.h"
#include "WaveOutPlayer.h"

// What the decode thread drew: per pane, how often, and the last picture with the time of
// the frame it came from.
class RecordingOutput : public CPictureOutput {
public:
    struct Draw {
        ScreenRect dest;
        int width = 0;
        int height = 0;
        bool yuy2 = false;
        int64_t frame_time = 0;
        std::vector<uint8_t> picture;
    };

    explicit RecordingOutput(const PlaybackShared& shared) : shared_(shared) {}

    void DrawYuy2(const ScreenRect& dest, int width, int height, uint8_t* picture) override {
        Record(dest, width, height, true, picture, static_cast<size_t>(width) * height * 2);
    }
    void DrawBgr24(const ScreenRect& dest, int width, int height, const uint8_t* picture) override {
        Record(dest, width, height, false, picture, static_cast<size_t>(width) * height * 3);
    }

    std::vector<Draw> Draws() const {
        std::lock_guard lock(mutex_);
        return draws_;
    }
    int Count() const {
        std::lock_guard lock(mutex_);
        return count_;
    }
    // The draws kept so far are forgotten; later draws are kept again (the first few only, the
    // last one always).
    void Forget() {
        std::lock_guard lock(mutex_);
        draws_.clear();
    }

private:
    static constexpr size_t kKept = 64;

    void Record(const ScreenRect& dest, int width, int height, bool yuy2, const uint8_t* picture,
                size_t bytes) {
        Draw draw{dest, width, height, yuy2, shared_.play_time.load(), {picture, picture + bytes}};
        std::lock_guard lock(mutex_);
        ++count_;
        if (draws_.size() == kKept) draws_.pop_back();
        draws_.push_back(std::move(draw));
    }

    const PlaybackShared& shared_;
    mutable std::mutex mutex_;
    std::vector<Draw> draws_;
    int count_ = 0;
};

// Y, U, V of the pixel at (x, y) of a packed 4:2:2 picture.
inline YuvColour Yuy2Pixel(const RecordingOutput::Draw& draw, int x, int y) {
    const uint8_t* pair =
        draw.picture.data() + (static_cast<size_t>(y) * draw.width + (x & ~1)) * 2;
    return {pair[(x & 1) * 2], pair[1], pair[3]};
}

// The channel whose background colour the picture shows in its top-right corner.
inline int ChannelOf(const RecordingOutput::Draw& draw) {
    const YuvColour c = Yuy2Pixel(draw, draw.width - 16, 16);
    int best = -1;
    int best_distance = 0;
    for (int channel = 0; channel < 16; ++channel) {
        const YuvColour want = ChannelColour(channel);
        const int dy = c.y - want.y, du = c.u - want.u, dv = c.v - want.v;
        const int distance = dy * dy + du * du + dv * dv;
        if (best < 0 || distance < best_distance) {
            best = channel;
            best_distance = distance;
        }
    }
    return best;
}

// The playback window's decode path against a recorder on loopback: the window's shared
// members, the backup writer, two players on a test clock, the overlay images, a four-pane
// grid at the window's place and an output that records what is drawn.
class DecodeFixture : public ::testing::Test {
protected:
    static constexpr ScreenRect kGridWindow{21, 20, 21 + 727, 20 + 606};

    void SetUp() override {
        std::filesystem::create_directories(folder_.Path() / "config");
        NameImage(720, 160).Patterned().Write(folder_.Path() / CChannelNameOverlay::kFullWidthFile);
        NameImage(480, 72).Patterned().Write(folder_.Path() / CChannelNameOverlay::kCifFile);
        ASSERT_EQ(overlay_.LoadFiles(folder_.Path().string()), 1);
        stereo_.Open(2);
        mono_.Open(1);
        grid_.Init(4, 4);
        grid_.ComputeCells(0, 0, kGridWindow.Width(), kGridWindow.Height());
        shared_.grid_rect[0] = kGridWindow.left;
        shared_.grid_rect[1] = kGridWindow.top;
        shared_.grid_rect[2] = kGridWindow.right;
        shared_.grid_rect[3] = kGridWindow.bottom;
        thread_.SetGrid(&grid_);
    }

    void TearDown() override {
        thread_.StopDecodeThread();
        emulator_.Stop();
    }

    static RecorderConfig Recorder(int32_t type_code, int32_t codec, ChannelFormat format) {
        RecorderConfig config = DefaultRecorderConfig(4, kToday);
        config.type_code = type_code;
        config.codec_word = codec;
        config.channel_formats.assign(4, format);
        config.loop_frames = 8;
        return config;
    }

    // Starts the recorder, the decode thread and the log-in, and searches today.
    void Connect(const RecorderConfig& config) {
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, folder_.Path() / "sandbox", &error)) << error;
        ASSERT_EQ(thread_.StartDecodeThread(), 1);
        ASSERT_GE(connection_.ConnectToServer("127.0.0.1", emulator_.Port(0), "admin", "admin"), 0);
        ASSERT_GT(connection_.TimeToSearchRecList(KeyOfDayNumber(kToday), page_.data(), 0), 0);
    }

    // Cameras of the four rows (0 = none) and the mask they make, as the search leaves them.
    void SetRows(std::array<int, 4> cameras) {
        int mask = 0;
        for (int row = 0; row < 4; ++row) {
            shared_.row_channels[row] = cameras[row];
            if (cameras[row] > 0) mask |= 1 << (cameras[row] - 1);
        }
        shared_.channel_mask = mask;
    }

    ScreenRect PaneRect(int pane) const {
        const VideoCell cell = grid_.Cell(pane);
        return {kGridWindow.left + cell.video_x, kGridWindow.top + cell.video_y,
                kGridWindow.left + cell.video_x + cell.video_width,
                kGridWindow.top + cell.video_y + cell.video_height};
    }

    // The pane a drawing went to, or -1.
    int PaneOf(const RecordingOutput::Draw& draw) const {
        for (int pane = 0; pane < 4; ++pane) {
            if (draw.dest == PaneRect(pane)) return pane;
        }
        return -1;
    }

    // Polls until done or the time is up; the sanitizer builds are slow, so the limit is wide.
    static bool WaitFor(const std::function<bool()>& done, int timeout_ms = 30000) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
        while (std::chrono::steady_clock::now() < end) {
            if (done()) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return done();
    }

    static int64_t Midnight() { return kToday * 86400; }

    static constexpr int64_t kToday = 20796;  // 2026-12-09

    TestFolder folder_;
    RecorderEmulator emulator_;
    NetCtrl connection_;
    PlaybackShared shared_;
    CBackupWriter backup_{shared_.backup_mode};
    ManualClockWaveOut audio_;
    CWaveOutPlayer stereo_{audio_};
    CWaveOutPlayer mono_{audio_};
    CChannelNameOverlay overlay_;
    RecordingOutput output_{shared_};
    CVideoGridLayout grid_;
    CDecodeThread thread_{{connection_, shared_, backup_, stereo_, mono_, overlay_, output_}};
    std::array<_QRF_FILESHOWINFO, 300> page_{};
};
