#pragma once

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "common/audio/WaveOutPlayer.h"
#include "common/ui/core/VideoGridLayout.h"
#include "common/ui/core/VideoOutput.h"
#include "platform/netctrl/NetCtrl.h"
#include "platform/waveout/ManualClockWaveOut.h"
#include "playback/core/backup/BackupWriter.h"
#include "playback/core/decode/ChannelNameOverlay.h"
#include "playback/core/decode/DecodeThread.h"
#include "playback/core/decode/PlaybackShared.h"
#include "playback/core/tests/NameImage.h"
#include "tests/support/PollUntil.h"
#include "tests/support/TestFolder.h"
#include "tools/recorder-emulator/ChannelPicture.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

// A drawing of the decode thread: where, at which size, and the picture's planes copied out
// row by row, width x height luma then U and V at half the size.
struct Draw {
    ScreenRect dest;
    int width = 0;
    int height = 0;
    std::vector<uint8_t> picture;

    // Y, U, V of a pixel.
    YuvColour At(int x, int y) const {
        const size_t luma_bytes = static_cast<size_t>(width) * height;
        const size_t chroma = static_cast<size_t>(y / 2) * (width / 2) + x / 2;
        return {picture[static_cast<size_t>(y) * width + x], picture[luma_bytes + chroma],
                picture[luma_bytes * 5 / 4 + chroma]};
    }
    // The channel whose background colour the picture's top-right corner shows.
    int Channel() const {
        const YuvColour c = At(width - 16, 16);
        int best = -1, best_distance = 0;
        for (int channel = 0; channel < 16; ++channel) {
            const YuvColour w = ChannelColour(channel);
            const int d =
                (c.y - w.y) * (c.y - w.y) + (c.u - w.u) * (c.u - w.u) + (c.v - w.v) * (c.v - w.v);
            if (best < 0 || d < best_distance) best = channel, best_distance = d;
        }
        return best;
    }
};

// What the decode thread drew, the first draws in order.
class RecordingOutput : public CVideoOutput {
public:
    int DrawPlanes(const ScreenRect& dest, int width, int height,
                   const DecodedPicture& planes) override {
        std::lock_guard lock(mutex_);
        ++count_;
        if (draws_.size() < 64)
            draws_.push_back({dest, width, height, Copy(planes, width, height)});
        return dest.Height();
    }
    int DrawBgr24(const ScreenRect&, int, int, const uint8_t*) override {
        ADD_FAILURE();
        return 0;
    }
    int DrawYuy2(const ScreenRect&, int, int, uint8_t*) override {
        ADD_FAILURE();
        return 0;
    }
    std::vector<Draw> Draws() const {
        std::lock_guard lock(mutex_);
        return draws_;
    }
    int Count() const {
        std::lock_guard lock(mutex_);
        return count_;
    }

private:
    static std::vector<uint8_t> Copy(const DecodedPicture& planes, int width, int height) {
        std::vector<uint8_t> picture;
        const auto rows = [&](const uint8_t* plane, int stride, int row_bytes, int count) {
            for (int row = 0; row < count; ++row) {
                const uint8_t* from = plane + static_cast<size_t>(row) * stride;
                picture.insert(picture.end(), from, from + row_bytes);
            }
        };
        rows(planes.luma, planes.luma_stride, width, height);
        rows(planes.u, planes.u_stride, width / 2, height / 2);
        rows(planes.v, planes.v_stride, width / 2, height / 2);
        return picture;
    }

    mutable std::mutex mutex_;
    std::vector<Draw> draws_;
    int count_ = 0;
};

// The playback window's decode path against a recorder on loopback: its shared members, the
// backup writer, two players on a test clock, overlay images, a four-pane grid at the
// window's place, and an output that records what is drawn.
class DecodeFixture : public ::testing::Test {
protected:
    static constexpr ScreenRect kGridWindow{21, 20, 21 + 727, 20 + 606};
    static constexpr int64_t kToday = 20796;  // 2026-12-09

    void SetUp() override {
        std::filesystem::create_directories(folder_.Path() / "config");
        NameImage(720, 160).Patterned().Write(folder_.Path() / CChannelNameOverlay::kFullWidthFile);
        NameImage(480, 72).Patterned().Write(folder_.Path() / CChannelNameOverlay::kCifFile);
        ASSERT_EQ(overlay_.LoadFiles(folder_.Path().string()), 1);
        stereo_.Open(2);
        mono_.Open(1);
        grid_.Init(4, 4);
        grid_.ComputeCells(0, 0, kGridWindow.Width(), kGridWindow.Height());
        const int edges[] = {kGridWindow.left, kGridWindow.top, kGridWindow.right,
                             kGridWindow.bottom};
        for (int i = 0; i < 4; ++i)
            shared_.grid_rect[i] = edges[i];
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

    // The recorder, the decode thread, the log-in and today's search.
    void Connect(const RecorderConfig& config) {
        std::string error;
        ASSERT_TRUE(emulator_.Start({config}, folder_.Path() / "sandbox", &error)) << error;
        ASSERT_EQ(thread_.StartDecodeThread(), 1);
        ASSERT_GE(connection_.ConnectToServer("127.0.0.1", emulator_.Port(0), "admin", "admin"), 0);
        std::array<_QRF_FILESHOWINFO, 300> page{};
        ASSERT_GT(connection_.TimeToSearchRecList(KeyOfDayNumber(kToday), page.data(), 0), 0);
    }

    // The rows' cameras (0 = none) and their mask, then playing from start_s.
    void Play(std::array<int, 4> cameras, int start_s, int audio = 0) {
        int mask = 0;
        for (int row = 0; row < 4; ++row) {
            shared_.row_channels[row] = cameras[row];
            if (cameras[row] > 0) mask |= 1 << (cameras[row] - 1);
        }
        shared_.channel_mask = mask;
        shared_.play_state = PlaybackShared::kPlayStateShowing;
        ASSERT_EQ(connection_.NetPlayFile(start_s, 86400, mask, audio, 0), 0);
    }

    // The pane a drawing went to, or -1.
    int PaneOf(const Draw& draw) const {
        for (int pane = 0; pane < 4; ++pane) {
            const VideoCell c = grid_.Cell(pane);
            const ScreenRect rect{kGridWindow.left + c.video_x, kGridWindow.top + c.video_y,
                                  kGridWindow.left + c.video_x + c.video_width,
                                  kGridWindow.top + c.video_y + c.video_height};
            if (draw.dest == rect) return pane;
        }
        return -1;
    }

    TestFolder folder_;
    RecorderEmulator emulator_;
    NetCtrl connection_;
    PlaybackShared shared_;
    CBackupWriter backup_{shared_.backup_mode};
    ManualClockWaveOut audio_;
    CWaveOutPlayer stereo_{audio_};
    CWaveOutPlayer mono_{audio_};
    CChannelNameOverlay overlay_;
    RecordingOutput output_;
    CVideoGridLayout grid_;
    CDecodeThread thread_{{connection_, shared_, backup_, stereo_, mono_, overlay_, output_}};
};
