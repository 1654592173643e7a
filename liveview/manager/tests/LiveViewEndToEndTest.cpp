// The manager against emulated recorders on loopback: log-in, streaming, pictures in the grid's
// cells, recording, audio and link loss, the whole way through.
#include <dlfcn.h>
#include <spdlog/sinks/ringbuffer_sink.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <regex>

extern "C" {
#include <libavcodec/avcodec.h>
}

#include "common/picture/H264Decoder.h"
#include "common/record/QmxFile.h"
#include "liveview/manager/tests/DisplayFixture.h"
#include "platform/diag/DiagLog.h"
#include "tools/lookup-server/LookupServer.h"
#include "tools/recorder-emulator/ChannelPicture.h"
#include "tools/recorder-emulator/DayKey.h"
#include "tools/recorder-emulator/RecorderEmulator.h"

namespace {

std::atomic<bool> fail_decoder_opens{false};

}  // namespace

// Takes the place of the library's open in this test program: decoders fail to open while told
// to; encoders (the emulator's) always open.
extern "C" int avcodec_open2(AVCodecContext* context, const AVCodec* codec,
                             AVDictionary** options) {
    if (fail_decoder_opens.load() && codec != nullptr && av_codec_is_decoder(codec)) {
        return AVERROR(ENOMEM);
    }
    using Open = int (*)(AVCodecContext*, const AVCodec*, AVDictionary**);
    static const auto kReal = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "avcodec_open2"));
    return kReal(context, codec, options);
}

namespace {

RecorderConfig Recorder(int channels) {
    const int64_t today = DayNumberOf({2026, 12, 9});
    RecorderConfig config = DefaultRecorderConfig(channels, today);
    config.loop_frames = 8;
    return config;
}

int Clamp8(int value) { return std::clamp(value, 0, 255); }

// The decoded background colour of each channel, by the conversion the suite uses.
int NearestChannel(uint32_t argb) {
    const int r = (argb >> 16) & 0xff;
    const int g = (argb >> 8) & 0xff;
    const int b = argb & 0xff;
    int best = -1;
    int best_distance = 0;
    for (int channel = 0; channel < 16; ++channel) {
        const YuvColour c = ChannelColour(channel);
        const int u = c.u - 128;
        const int v = c.v - 128;
        const int dr = r - Clamp8(c.y + v * 88 / 64);
        const int dg = g - Clamp8(c.y - u * 22 / 64 - v * 45 / 64);
        const int db = b - Clamp8(c.y + u * 111 / 64);
        const int distance = dr * dr + dg * dg + db * db;
        if (best < 0 || distance < best_distance) {
            best = channel;
            best_distance = distance;
        }
    }
    return best;
}

class LiveViewTest : public DisplayFixture {
protected:
    void TearDown() override {
        if (manager_) manager_->Shutdown();
        manager_.reset();
        emulator_.Stop();
        DisplayFixture::TearDown();
    }

    void StartRecorders(const std::vector<RecorderConfig>& configs) {
        std::string error;
        ASSERT_TRUE(emulator_.Start(configs, folder_ / "sandbox", &error)) << error;
    }

    std::string AddressOf(size_t recorder) const {
        return "127.0.0.1:" + std::to_string(emulator_.Port(recorder));
    }

    // Adds, starts and logs in device a (the recorder of the same number).
    void Connect(int a, const std::string& user = "admin", int send_audio = 0) {
        ASSERT_EQ(manager_->AddDvr(AddressOf(a), "", user, user, "dvr"), 1);
        _DVR_SETTINGS_ settings;
        ASSERT_EQ(manager_->GetDvr(a, settings), 1);
        settings.send_audio = send_audio;
        ASSERT_EQ(manager_->UpdateDvr(a, settings, RecordFolder()), 1);
        ASSERT_EQ(manager_->StartDvrNetwork(a), 1);
        ASSERT_GE(manager_->ConnectDvr(a), 0);
    }

    // The channel whose picture the cell shows, or -1 for none.
    int ChannelIn(int cell) const {
        const VideoCell c = grid_.Cell(cell);
        const int x = c.video_x + c.video_width / 8;
        const int y = c.video_y + c.video_height / 8;
        uint32_t pixel = 0;
        surface_->Read([&](const uint32_t* pixels, int width, int height) {
            if (x < width && y < height) pixel = pixels[y * width + x];
        });
        return (pixel >> 24) == 0 ? -1 : NearestChannel(pixel);
    }

    void ClearPictures() { surface_->Clear({0, 0, kGridWidth, kGridHeight}); }

    RecorderEmulator emulator_;
};

std::vector<std::filesystem::path> FilesEndingIn(const std::string& folder, const char* ext) {
    std::vector<std::filesystem::path> found;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ext) found.push_back(entry.path());
    }
    return found;
}

}  // namespace

TEST_F(LiveViewTest, EachChannelAppearsInItsOwnCell) {
    StartRecorders({Recorder(4)});
    manager_->SetCurrentDvr(0);
    Connect(0);
    manager_->RefreshLiveViews();
    EXPECT_TRUE(PollUntil([&] {
        for (int cell = 0; cell < 4; ++cell) {
            if (ChannelIn(cell) != cell) return false;
        }
        return true;
    }));
    for (int cell = 4; cell < 16; ++cell)
        EXPECT_EQ(ChannelIn(cell), -1) << cell;

    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_FALSE(journal.net_parameters.empty());
    EXPECT_EQ(journal.net_parameters.front().rate, 640);
    EXPECT_EQ(journal.net_parameters.front().fps, 16);
    ASSERT_FALSE(journal.live_requests.empty());
    EXPECT_EQ(journal.live_requests.front().channel_mask, 0xffffu);
    EXPECT_EQ(journal.live_requests.back().channel_mask, 0xffffu);  // sixteen cells shown
}

// Starting another slot opens the decoders of the cell of its number; where a channel streams
// in that cell, its decoder must keep what the stream's key frame set up, or every frame up to
// the next key frame fails to decode.
TEST_F(LiveViewTest, StartingASlotLeavesTheStreamInItsCellDecoding) {
    const RecorderConfig config = Recorder(8);
    const uint64_t loop_of_all = 8 * config.loop_frames;
    StartRecorders({config});
    manager_->SetCurrentDvr(0);
    Connect(0);
    manager_->RefreshLiveViews();
    // Past the key frames that the log-in and the refresh ask for: the streams are in the
    // middle of their loops from now on.
    ASSERT_TRUE(PollUntil([&] { return manager_->GetFrameCounts(0).decoded >= 3 * loop_of_all; }));
    const uint64_t decoded = manager_->GetFrameCounts(0).decoded;
    for (int a = 1; a < 8; ++a)
        ASSERT_EQ(manager_->StartDvrNetwork(a), 1);
    // Each cell's next key frame and the frames after it.
    ASSERT_TRUE(PollUntil(
        [&] { return manager_->GetFrameCounts(0).decoded >= decoded + 2 * loop_of_all; }));
    EXPECT_EQ(manager_->GetFrameCounts(0).decode_failures, 0u);
}

TEST_F(LiveViewTest, OrdinaryUsersGetFixedRates) {
    StartRecorders({Recorder(1)});
    Connect(0, "guest");
    const RecorderJournal journal = emulator_.Journal(0);
    ASSERT_FALSE(journal.net_parameters.empty());
    EXPECT_EQ(journal.net_parameters.back().rate, 480);
    EXPECT_EQ(journal.net_parameters.back().fps, 16);
    _DVR_SETTINGS_ settings;
    manager_->GetDvr(0, settings);
    settings.quality_index = 0;
    manager_->UpdateDvr(0, settings, RecordFolder());
    EXPECT_EQ(emulator_.Journal(0).net_parameters.back().rate, 300);
    EXPECT_EQ(emulator_.Journal(0).net_parameters.back().fps, 10);
    // Commands are for super users only.
    manager_->SendEscKey(0);
    manager_->SendPtzCommand(1, 0, 1, 0);
    EXPECT_TRUE(emulator_.Journal(0).commands.empty());
}

TEST_F(LiveViewTest, ADeviceNameIsFoundThroughTheLookupServer) {
    RecorderConfig config = Recorder(2);
    config.name = "YARDCAM01";
    StartRecorders({config});
    std::string error;
    ASSERT_TRUE(emulator_.StartLookup(0, &error)) << error;
    options_.lookup_port = emulator_.LookupPort();
    NewManager();
    Show();

    manager_->SetCurrentDvr(0);
    ASSERT_EQ(manager_->AddDvr("localhost/yardcam01", "", "admin", "admin", "yard"), 1);
    ASSERT_EQ(manager_->StartDvrNetwork(0), 1);
    ASSERT_GE(manager_->ConnectDvr(0), 0);
    manager_->RefreshLiveViews();
    EXPECT_TRUE(PollUntil([&] { return ChannelIn(1) == 1; }));

    manager_->DisconnectDvr(0);
    emulator_.Lookup()->SetOffline("YARDCAM01", true);
    EXPECT_EQ(manager_->ConnectDvr(0), -1);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().back(), "Dvr is not online!\n");

    emulator_.Lookup()->Stop();
    EXPECT_EQ(manager_->ConnectDvr(0), -1);
    ASSERT_EQ(Messages().size(), 2u);
    EXPECT_EQ(Messages().back(), "Can't connect server!\n");
}

TEST_F(LiveViewTest, TheAllDevicesViewFollowsTheWindowMap) {
    StartRecorders({Recorder(4), Recorder(4)});
    manager_->SetCurrentDvr(-1);
    manager_->SetAllDvrMode(1);
    manager_->SetWindowChannel(0, MakeChannelKey(1, 2));
    manager_->SetWindowChannel(5, MakeChannelKey(0, 1));
    Connect(0);
    Connect(1);
    manager_->RefreshLiveViews();
    EXPECT_TRUE(PollUntil([&] { return ChannelIn(0) == 2 && ChannelIn(5) == 1; }));
    for (int cell : {1, 2, 3, 4, 6})
        EXPECT_EQ(ChannelIn(cell), -1) << cell;
    EXPECT_EQ(emulator_.Journal(0).live_requests.back().channel_mask, 0x2u);
    EXPECT_EQ(emulator_.Journal(1).live_requests.back().channel_mask, 0x4u);

    // A pan/tilt/zoom request for a cell goes to the camera the cell shows.
    EXPECT_EQ(manager_->SendPtzCommand(3, 0, 1, -1), 1);
    EXPECT_EQ(manager_->SendPtzCommand(3, 1, 1, -1), 1);  // an empty cell: nothing is sent
    EXPECT_TRUE(PollUntil([&] { return !emulator_.Journal(1).commands.empty(); }));
    const _NET_COMMAND_ sent = emulator_.Journal(1).commands.front();
    EXPECT_EQ(sent.nCommand, 16);
    EXPECT_EQ(sent.nSubCode, 3);
    EXPECT_EQ(sent.nChannel, 2);
    EXPECT_EQ(sent.nAction, 1);
    EXPECT_EQ(emulator_.Journal(1).commands.size(), 1u);
    EXPECT_TRUE(emulator_.Journal(0).commands.empty());
}

TEST_F(LiveViewTest, ARecordingReadsBackWholeAndDecodes) {
    const RecorderConfig config = Recorder(1);
    const uint64_t loop = config.loop_frames;
    StartRecorders({config});
    manager_->SetCurrentDvr(0);
    Connect(0);
    manager_->RefreshLiveViews();
    ASSERT_TRUE(PollUntil([&] { return ChannelIn(0) == 0; }));
    const auto counts = [&] { return manager_->GetFrameCounts(0); };
    EXPECT_EQ(manager_->StartRecord(0), 1);
    const uint64_t at_start = counts().received;
    ASSERT_TRUE(PollUntil([&] { return counts().received >= at_start + 2 * loop; }));
    // Broken frames must not reach the recording: a frame beyond the size limit, a channel out
    // of range, a gap. One at a time, each seen dropped, then two loops so the channel has
    // passed its next key frame and the next drop can only be the next fault's.
    for (const Fault fault : {Fault::kOversizeLength, Fault::kBadChannel, Fault::kFrameNumberGap}) {
        const uint64_t dropped = counts().dropped;
        emulator_.InjectFault(0, fault);
        ASSERT_TRUE(PollUntil([&] { return counts().dropped > dropped; }));
        const uint64_t received = counts().received;
        ASSERT_TRUE(PollUntil([&] { return counts().received >= received + 2 * loop; }));
    }
    EXPECT_EQ(manager_->StopRecord(0), 1);
    EXPECT_EQ(manager_->IsRecording(0), 0);

    const auto indexes = FilesEndingIn(RecordFolder(), ".qmx");
    ASSERT_EQ(indexes.size(), 1u);
    CQmxFile pair;
    ASSERT_EQ(pair.OpenForRead(indexes.front().string()), 1);
    CH264Decoder decoder;
    ASSERT_EQ(decoder.Open(352, 288), 1);
    std::vector<uint8_t> payload(kMaxRecordedFrameBytes);
    _NET_FRAME_HEAD_ header{};
    // Recording begins with whatever frame comes next: the rest of that group leads.
    uint64_t leading = 0;
    uint64_t frames = 0;
    uint64_t pictures = 0;
    int expected = -1;
    int length;
    while ((length = pair.ReadFrame(&header, payload.data(), payload.size())) != 0) {
        ASSERT_GT(length, 0);
        ASSERT_EQ(header.cType, 'V');
        ASSERT_EQ(header.nChannel, 0);
        if (expected < 0 && header.nKeyFrame != 1) {
            ++leading;
            continue;
        }
        if (header.nKeyFrame != 1) {
            EXPECT_EQ(header.nFrameNo, expected);
        }
        expected = header.nFrameNo + 1;
        int got = 0;
        ASSERT_GE(decoder.Decode(decoder.Picture(), &got, payload.data(), length), 0);
        pictures += static_cast<uint64_t>(got);
        ++frames;
    }
    EXPECT_LT(leading, loop);
    EXPECT_GE(frames, 4 * loop);
    EXPECT_GE(pictures, frames - 2);
}

TEST_F(LiveViewTest, ALostLinkShowsAsState3AndRecovers) {
    StartRecorders({Recorder(1)});
    manager_->SetCurrentDvr(0);
    Connect(0);
    manager_->RefreshLiveViews();
    ASSERT_TRUE(PollUntil([&] { return ChannelIn(0) == 0; }));

    emulator_.InjectFault(0, Fault::kDropLink);
    EXPECT_TRUE(PollUntil([&] { return manager_->GetMachineInfo(0).nLinkState == 3; }));
    manager_->ResetDvrNetwork(0);
    EXPECT_EQ(manager_->GetMachineInfo(0).nLinkState, 0);
    ClearPictures();
    ASSERT_GE(manager_->ConnectDvr(0), 0);
    manager_->RefreshLiveViews();
    EXPECT_TRUE(PollUntil([&] { return ChannelIn(0) == 0; }));
}

TEST_F(LiveViewTest, OnlyTheCurrentDevicesAudioPlaysOnThePlayerOfItsLength) {
    RecorderConfig stereo = Recorder(2);
    stereo.audio_mask = 0x2;
    stereo.audio_block_bytes = 4096;
    RecorderConfig mono = Recorder(2);
    mono.audio_mask = 0x1;
    mono.audio_block_bytes = 320;
    StartRecorders({stereo, mono});
    manager_->SetCurrentDvr(0);
    Connect(0, "admin", 1);
    Connect(1, "admin", 1);
    manager_->AudioOn();

    auto played = [&](int channels) {
        audio_.Advance(1000);
        const auto blocks = audio_.Played();
        return std::count_if(blocks.begin(), blocks.end(),
                             [&](const auto& block) { return block.channels == channels; });
    };
    EXPECT_TRUE(PollUntil([&] { return played(2) > 0; }));
    EXPECT_EQ(played(1), 0);
    // The device that is not shown draws nothing either, though its frames arrive.
    EXPECT_TRUE(PollUntil([&] { return manager_->GetFrameCounts(1).received > 0; }));
    EXPECT_EQ(manager_->GetFrameCounts(1).shown, 0u);
    EXPECT_GT(manager_->GetFrameCounts(0).shown, 0u);

    manager_->SetCurrentDvr(1);
    EXPECT_TRUE(PollUntil([&] { return played(1) > 0; }));
    manager_->AudioOff();
}

// The engine's diagnostic lines at the debug level, kept from before the manager's frame threads
// start until after they end (the logger's sinks are not to change while they write).
class EngineLines {
public:
    EngineLines()
        : sink_(std::make_shared<spdlog::sinks::ringbuffer_sink_mt>(1024)),
          level_before_(diag::Log("liveview").level()) {
        sink_->set_pattern("%v");
        diag::Log("liveview").sinks().push_back(sink_);
        diag::Log("liveview").set_level(spdlog::level::debug);
    }
    ~EngineLines() {
        diag::Log("liveview").set_level(level_before_);
        diag::Log("liveview").sinks().pop_back();
    }
    bool Has(const std::string& pattern) const {
        const std::regex wanted(pattern);
        for (const std::string& line : sink_->last_formatted()) {
            if (std::regex_search(line, wanted)) return true;
        }
        return false;
    }

private:
    std::shared_ptr<spdlog::sinks::ringbuffer_sink_mt> sink_;
    spdlog::level::level_enum level_before_;
};

// The lines outlive TearDown, which ends the frame threads.
class DiagnosticLinesTest : public LiveViewTest {
protected:
    EngineLines lines_;
};

// With the level raised, a decoder that does not open, a refused command and a dropped frame
// each leave a line naming the device and the channel; the frame counts keep the drops.
TEST_F(DiagnosticLinesTest, FailuresLeaveLinesNamingDeviceAndChannel) {
    StartRecorders({Recorder(1)});
    const std::string device = "device 0 \\(127\\.0\\.0\\.1:[0-9]+\\)";
    fail_decoder_opens = true;
    manager_->SetCurrentDvr(0);
    Connect(0, "guest");
    manager_->RefreshLiveViews();
    const bool open_failed = PollUntil(
        [&] { return lines_.Has(device + " channel 0 cell 0: the H.264 decoder did not open"); });
    fail_decoder_opens = false;
    EXPECT_TRUE(open_failed);
    ASSERT_TRUE(PollUntil([&] { return ChannelIn(0) == 0; }));

    EXPECT_EQ(manager_->SendPtzCommand(1, 2, 1, 0), 1);
    EXPECT_TRUE(lines_.Has(device + " channel 2: command 16 \\(code 1\\) refused"));

    emulator_.InjectFault(0, Fault::kFrameNumberGap);
    // The count goes up before the line is written.
    EXPECT_TRUE(PollUntil(
        [&] { return lines_.Has(device + " channel 0: frame [0-9]+ dropped: out of sequence"); }));
    EXPECT_GT(manager_->GetFrameCounts(0).dropped, 0u);
    EXPECT_EQ(manager_->GetFrameCounts(0).decode_failures, 0u);
}
