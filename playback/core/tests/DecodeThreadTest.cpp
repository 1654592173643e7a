// The decode thread against recorders on loopback: pictures in their panes with their names,
// the play state, the key-frame gate, the frame checks, audio routing and the stop.
#include "common/picture/tests/TestStreams.h"
#include "platform/netctrl/tests/ScriptedRecorder.h"
#include "playback/core/decode/ChannelNamePlace.h"
#include "playback/core/tests/DecodeFixture.h"
#include "tests/support/PairFrames.h"
#include "tools/recorder-emulator/VideoCodec.h"

using namespace netproto;

namespace {

struct PaneCase {
    int32_t type_code;
    int32_t codec;
    ChannelFormat format;
    int width, height;
};

class PanesTest : public DecodeFixture, public ::testing::WithParamInterface<PaneCase> {};

// Cameras 3, 1, none and 4 in the rows: each camera's pictures land in its row's pane, whole;
// below type code 1000 each carries its name exactly where the overlay puts it.
TEST_P(PanesTest, EachCameraLandsInItsOwnPaneWithItsName) {
    const PaneCase& c = GetParam();
    Connect(Recorder(c.type_code, c.codec, c.format));
    const std::array<int, 4> cameras = {3, 1, 0, 4};
    Play(cameras, 36000);
    std::array<Draw, 4> last{};
    ASSERT_TRUE(PollUntil([&] {
        std::array<int, 4> drawn{};
        for (const Draw& draw : output_.Draws()) {
            const int pane = PaneOf(draw);
            if (pane != 0 && pane != 1 && pane != 3) {
                ADD_FAILURE() << "a drawing in pane " << pane;
                continue;
            }
            EXPECT_EQ(draw.Channel(), cameras[pane] - 1) << "pane " << pane;
            EXPECT_EQ(draw.width * 1000 + draw.height, c.width * 1000 + c.height);
            ++drawn[pane];
            last[pane] = draw;
        }
        return drawn[0] >= 2 && drawn[1] >= 2 && drawn[3] >= 2;
    }));
    const int code = c.format.standard * 3 + c.format.size_code;
    for (const int pane : {0, 1, 3}) {
        const auto place = ChannelNamePlaceOf(code, cameras[pane] - 1);
        const NameImage image = (place->cif ? NameImage(480, 72) : NameImage(720, 160)).Patterned();
        for (int y = 0; y < place->source_height; ++y) {
            for (int x = 0; x < place->source_width; ++x) {
                const bool name =
                    c.type_code < 1000 && image.Inked(place->source_x + x, place->source_y + y);
                ASSERT_EQ(last[pane].At(place->x + x, place->y + y).y == 0xE6, name)
                    << "pane " << pane << " at " << x << "," << y;
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Recorders, PanesTest,
                         ::testing::Values(PaneCase{4, kH264CodecWord, {0, 0}, 720, 576},
                                           PaneCase{8, kMpeg4CodecWord, {1, 2}, 352, 240},
                                           PaneCase{1004, kH264CodecWord, {0, 2}, 352, 288}));

using DecodeThreadTest = DecodeFixture;

// After STOP (play state 5) frames are still taken and decoded but not drawn, until the play
// state allows drawing again.
TEST_F(DecodeThreadTest, StopKeepsDecodingButDrawsNothing) {
    Connect(Recorder(1004, kH264CodecWord, {0, 2}));
    Play({1, 2, 3, 4}, 0);
    ASSERT_TRUE(PollUntil([&] { return output_.Count() >= 8; }));
    shared_.play_state = PlaybackShared::kPlayStateStopped;
    const int64_t stopped_at = shared_.play_time;
    ASSERT_TRUE(PollUntil([&] { return shared_.play_time > stopped_at; }));
    const int drawn = output_.Count();
    ASSERT_TRUE(PollUntil([&] { return shared_.play_time >= stopped_at + 2; }));
    EXPECT_EQ(output_.Count(), drawn);
    shared_.play_state = PlaybackShared::kPlayStateShowing;
    EXPECT_TRUE(PollUntil([&] { return output_.Count() > drawn; }));
}

Frame MakeFrame(char type, int channel, bool key, std::vector<uint8_t> payload,
                uint8_t size_code = 2) {
    Frame frame;
    frame.head.cType = type;
    frame.head.nChannel = channel;
    frame.head.nKeyFrame = key ? 1 : 0;
    frame.head.nSize = size_code;
    frame.head.nLength = static_cast<uint32_t>(payload.size());
    frame.payload = std::move(payload);
    return frame;
}

// Frames as a recorder could send them, rows {camera 2, none, camera 1, none}: what the checks
// drop, what waits for a key frame, where each picture goes and which player takes a sound.
TEST_F(DecodeThreadTest, FramesFollowTheLoopsRules) {
    using test_streams::Codec;
    const auto cif = test_streams::EncodeStream(Codec::kH264, 352, 288, 2);
    const auto half = test_streams::EncodeStream(Codec::kH264, 720, 288, 2);
    const std::vector<Frame> script = {
        MakeFrame('V', 0, false, cif[1]),                            // no key frame yet
        MakeFrame('V', 16, true, cif[0]),                            // channel 16
        MakeFrame('V', 0, true, std::vector<uint8_t>(304289, 0)),    // too long
        MakeFrame('V', 0, true, cif[0]),                             // pane 2
        MakeFrame('V', 0, false, cif[1]),                            // pane 2
        MakeFrame('V', 1, true, cif[0]),                             // pane 0
        MakeFrame('V', 5, true, cif[0]),                             // no row: pane 5, hidden
        MakeFrame('A', 0, false, std::vector<uint8_t>(4096, 0x11)),  // stereo
        MakeFrame('A', 0, false, std::vector<uint8_t>(320, 0x22)),   // mono: short
        MakeFrame('A', 1, false, std::vector<uint8_t>(4096, 0x33)),  // mono: not the audio channel
        MakeFrame('V', 0, true, half[0], 1),   // new size: every channel waits for a key frame
        MakeFrame('V', 0, false, half[1], 1),  // pane 2
        MakeFrame('V', 1, false, cif[1]),      // new size again: channel 1 waits
        MakeFrame('V', 1, true, cif[0]),       // pane 0
    };
    ScriptedRecorder recorder([&](ScriptedPeer& peer) {
        if (!peer.Handshake(0, kSuperUserLevel, kH264CodecWord)) return;
        while (!peer.Stopping()) {
            Message m;
            if (!peer.Read(m, 20) || std::holds_alternative<KeepAlive>(m.body)) continue;
            peer.Send(m.request_id, Ack{0});
            if (std::holds_alternative<PlayStart>(m.body))
                for (const Frame& frame : script)
                    peer.Send(0, frame);
        }
    });
    ASSERT_EQ(thread_.StartDecodeThread(), 1);
    ASSERT_GE(connection_.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "admin"), 0);
    shared_.audio_flag = 1;
    Play({2, 0, 1, 0}, 0, 1);

    ASSERT_TRUE(PollUntil([&] { return output_.Count() >= 6; }));
    std::vector<std::array<int, 3>> drawn;
    for (const Draw& draw : output_.Draws())
        drawn.push_back({PaneOf(draw), draw.width, draw.height});
    EXPECT_EQ(drawn, (std::vector<std::array<int, 3>>{{2, 352, 288},
                                                      {2, 352, 288},
                                                      {0, 352, 288},
                                                      {2, 720, 288},
                                                      {2, 720, 288},
                                                      {0, 352, 288}}));
    audio_.Advance(5000);
    std::vector<std::pair<int, std::vector<uint8_t>>> played;
    for (const auto& block : audio_.Played())
        played.emplace_back(block.channels, block.bytes);
    EXPECT_EQ(played, (std::vector<std::pair<int, std::vector<uint8_t>>>{
                          {2, std::vector<uint8_t>(4096, 0x11)},
                          {1, std::vector<uint8_t>(320, 0x22)},
                          {1, std::vector<uint8_t>(4096, 0x33)}}));
}

// A backup of a stream with broken heads: the pair holds only frames an independent check of
// the pair accepts (size codes, unbroken frame numbers from a key frame, times of the span,
// audio of announced channels), and the rest count as refused.
TEST_F(DecodeThreadTest, BackupsWriteOnlyFramesThePairCanFollow) {
    RecorderConfig config = Recorder(4, kH264CodecWord, {0, 2});
    config.audio_mask = 0x1;
    Connect(config);
    shared_.channel_mask = 0xF;
    const int64_t day_start_s = kToday * 86400;
    const int start_s = 36000;
    const int end_s = 36000 + 600;
    for (const Fault fault :
         {Fault::kBadSizeCode, Fault::kNoFrameNumber, Fault::kFarTime, Fault::kUnannouncedAudio}) {
        SCOPED_TRACE(static_cast<int>(fault));
        const TestFolder pairs_folder(std::to_string(static_cast<int>(fault)));
        backup_.Begin();
        backup_.SetDirectory(pairs_folder.Path().string());
        backup_.SetStream(day_start_s + start_s, day_start_s + end_s, 0x1);
        emulator_.InjectFault(0, fault);
        ASSERT_EQ(connection_.NetPlayFile(start_s, end_s, 0xF, 1, 1), 0);
        ASSERT_TRUE(
            PollUntil([&] { return connection_.GetMachineInfe().nLinkState != kLinkStreaming; }));
        backup_.End();
        const auto faults = emulator_.Journal(0).faults;
        ASSERT_EQ(std::count(faults.begin(), faults.end(), fault), 1);
        EXPECT_GE(backup_.FramesRefused(), 1u);

        const auto indexes = Pairs(pairs_folder.Path());
        ASSERT_EQ(indexes.size(), 1u);
        const auto frames = ReadPair(indexes[0]);
        EXPECT_EQ(frames.size(), backup_.FramesKept());
        std::array<int, 16> next_number;
        next_number.fill(-1);
        int audio = 0;
        for (const auto& [head, payload] : frames) {
            ASSERT_GE(head.nTime, day_start_s + start_s - 86400);
            ASSERT_LE(head.nTime, day_start_s + end_s + 86400);
            ASSERT_GE(head.nChannel, 0);
            ASSERT_LT(head.nChannel, 16);
            if (head.cType == 'A') {
                ASSERT_EQ(head.nChannel, 0);
                ++audio;
                continue;
            }
            ASSERT_LE(head.nSize, 2);
            int& expected = next_number[head.nChannel];
            if (head.nKeyFrame == 1) expected = 0;
            ASSERT_EQ(head.nFrameNo, expected) << "a gap in channel " << head.nChannel;
            ++expected;
        }
        EXPECT_GT(audio, 0);
    }
}

// The stop ends the thread whatever it does: just started, or pausing after each picture
// while the window is dragged.
TEST_F(DecodeThreadTest, StopEndsTheThreadAtAnyMoment) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(thread_.StartDecodeThread(), 1);
        EXPECT_EQ(thread_.StopDecodeThread(), 1);
        EXPECT_FALSE(thread_.Running());
    }
    Connect(Recorder(1004, kH264CodecWord, {0, 2}));
    Play({1, 2, 3, 4}, 0);
    ASSERT_TRUE(PollUntil([&] { return output_.Count() >= 4; }));
    shared_.window_drag = 1;
    // Frames pile up while the thread pauses after each picture.
    ASSERT_TRUE(PollUntil([&] { return connection_.IsHavePicBuf() > 10; }));
    EXPECT_EQ(thread_.StopDecodeThread(), 1);
    EXPECT_FALSE(thread_.Running());
}

}  // namespace
