// The decode thread against recorders on loopback: pictures in their panes, the key-frame
// gate, the overlay, the play state, audio routing and the frame checks.
#include <atomic>

#include "ChannelNamePlace.h"
#include "DecodeFixture.h"
#include "ScriptedRecorder.h"
#include "TestStreams.h"
#include "VideoCodec.h"

using namespace netproto;

namespace {

struct PaneCase {
    const char* what;
    int32_t type_code;
    int32_t codec;
    ChannelFormat format;
    int width, height;
};

class PanesTest : public DecodeFixture, public ::testing::WithParamInterface<PaneCase> {};

// Cameras 3, 1, none and 4 in the rows: each camera's pictures land in its row's pane, scaled
// there whole; recorders below type code 1000 get their channel's name stamped in, exactly
// where the overlay puts it for the picture's format.
TEST_P(PanesTest, EachCameraLandsInItsOwnPaneWithItsName) {
    const PaneCase& c = GetParam();
    Connect(Recorder(c.type_code, c.codec, c.format));
    const std::array<int, 4> cameras = {3, 1, 0, 4};
    SetRows(cameras);
    shared_.play_state = PlaybackShared::kPlayStateShowing;
    ASSERT_EQ(connection_.NetPlayFile(36000, 86400, shared_.channel_mask, 0, 0), 0);

    std::array<RecordingOutput::Draw, 4> last{};
    ASSERT_TRUE(WaitFor([&] {
        std::array<int, 4> drawn{};
        for (const auto& draw : output_.Draws()) {
            const int pane = PaneOf(draw);
            if (pane < 0) continue;
            ++drawn[pane];
            last[pane] = draw;
        }
        return drawn[0] >= 2 && drawn[1] >= 2 && drawn[3] >= 2;
    }));
    for (const auto& draw : output_.Draws()) {
        const int pane = PaneOf(draw);
        ASSERT_TRUE(pane == 0 || pane == 1 || pane == 3) << pane;
        EXPECT_EQ(ChannelOf(draw), cameras[pane] - 1) << "pane " << pane;
        EXPECT_EQ(draw.width, c.width);
        EXPECT_EQ(draw.height, c.height);
        EXPECT_TRUE(draw.yuy2);
    }

    const int code = c.format.standard * 3 + c.format.size_code;
    for (const int pane : {0, 1, 3}) {
        SCOPED_TRACE(testing::Message() << "pane " << pane);
        const auto place = ChannelNamePlaceOf(code, cameras[pane] - 1);
        ASSERT_TRUE(place);
        const NameImage image =
            place->cif ? NameImage(480, 72).Patterned() : NameImage(720, 160).Patterned();
        int named = 0;
        for (int y = 0; y < place->source_height; ++y) {
            for (int x = 0; x < place->source_width; ++x) {
                const bool ink = image.Inked(place->source_x + x, place->source_y + y);
                const bool stamped = Yuy2Pixel(last[pane], place->x + x, place->y + y).y == 0xE6;
                named += stamped;
                if (c.type_code < 1000) {
                    ASSERT_EQ(stamped, ink) << x << "," << y;
                }
            }
        }
        if (c.type_code >= 1000) {
            EXPECT_EQ(named, 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Recorders, PanesTest,
    ::testing::Values(PaneCase{"PAL D1, H.264, names", 4, kH264CodecWord, {0, 0}, 720, 576},
                      PaneCase{"NTSC CIF, MPEG-4, names", 8, kMpeg4CodecWord, {1, 2}, 352, 240},
                      PaneCase{"PAL CIF, H.264, no names", 1004, kH264CodecWord, {0, 2}, 352, 288}),
    [](const auto& info) {
        return std::string(info.param.what).substr(0, 3) + std::to_string(info.index);
    });

using DecodeThreadTest = DecodeFixture;

// After STOP (play state 5) the frames still arriving are taken and decoded, but nothing is
// drawn until the play state allows it again.
TEST_F(DecodeThreadTest, StopKeepsDecodingButDrawsNothing) {
    Connect(Recorder(1004, kH264CodecWord, {0, 2}));
    SetRows({1, 2, 3, 4});
    shared_.play_state = PlaybackShared::kPlayStateShowing;
    ASSERT_EQ(connection_.NetPlayFile(0, 86400, shared_.channel_mask, 0, 0), 0);
    ASSERT_TRUE(WaitFor([&] { return output_.Count() >= 8; }));

    shared_.play_state = PlaybackShared::kPlayStateStopped;
    const int64_t stopped_at = shared_.play_time;
    ASSERT_TRUE(WaitFor([&] { return shared_.play_time > stopped_at; }));
    const int drawn = output_.Count();
    ASSERT_TRUE(WaitFor([&] { return shared_.play_time >= stopped_at + 2; }));
    EXPECT_EQ(output_.Count(), drawn);

    shared_.play_state = PlaybackShared::kPlayStateShowing;
    EXPECT_TRUE(WaitFor([&] { return output_.Count() > drawn; }));
}

Frame VideoFrame(int channel, bool key, const std::vector<uint8_t>& payload, uint8_t size_code) {
    Frame frame;
    frame.head.cType = 'V';
    frame.head.nChannel = channel;
    frame.head.nKeyFrame = key ? 1 : 0;
    frame.head.nSize = size_code;
    frame.head.nLength = static_cast<uint32_t>(payload.size());
    frame.payload = payload;
    return frame;
}

Frame AudioFrame(int channel, size_t bytes, uint8_t fill) {
    Frame frame;
    frame.head.cType = 'A';
    frame.head.nChannel = channel;
    frame.head.nLength = static_cast<uint32_t>(bytes);
    frame.payload.assign(bytes, fill);
    return frame;
}

// One frame after the other as a recorder could send them: what the checks drop, what waits
// for a key frame, where each picture goes and which player takes each sound.
TEST_F(DecodeThreadTest, FramesFollowTheLoopsRules) {
    using test_streams::Codec;
    const auto cif = test_streams::EncodeStream(Codec::kH264, 352, 288, 2);
    const auto half = test_streams::EncodeStream(Codec::kH264, 720, 288, 2);
    const std::vector<Frame> script = {
        VideoFrame(0, false, cif[1], 2),                          // no key frame yet
        VideoFrame(16, true, cif[0], 2),                          // channel 16
        VideoFrame(0, true, std::vector<uint8_t>(304289, 0), 2),  // too long
        VideoFrame(0, true, cif[0], 2),                           // pane 2
        VideoFrame(0, false, cif[1], 2),                          // pane 2
        VideoFrame(1, true, cif[0], 2),                           // pane 0
        VideoFrame(5, true, cif[0], 2),                           // no row: pane 5, hidden
        AudioFrame(0, 4096, 0x11),                                // stereo
        AudioFrame(0, 320, 0x22),                                 // mono: short
        AudioFrame(1, 4096, 0x33),                                // mono: not the audio channel
        VideoFrame(0, true, half[0], 1),  // new size: every channel waits for a key frame
        VideoFrame(0, false, half[1], 1),
        VideoFrame(1, false, cif[1], 2),  // new size again: channel 1 waits
        VideoFrame(1, true, cif[0], 2),
    };
    ScriptedRecorder recorder([&](ScriptedPeer& peer) {
        if (!peer.Handshake(0, kSuperUserLevel, kH264CodecWord)) return;
        while (!peer.Stopping()) {
            Message m;
            if (!peer.Read(m, 20) || std::holds_alternative<KeepAlive>(m.body)) continue;
            peer.Send(m.request_id, Ack{0});
            if (!std::holds_alternative<PlayStart>(m.body)) continue;
            for (const Frame& frame : script)
                peer.Send(0, frame);
        }
    });
    ASSERT_EQ(thread_.StartDecodeThread(), 1);
    ASSERT_GE(connection_.ConnectToServer("127.0.0.1", recorder.Port(), "admin", "admin"), 0);
    SetRows({2, 0, 1, 0});
    shared_.audio_flag = 1;
    shared_.play_state = PlaybackShared::kPlayStateShowing;
    ASSERT_EQ(connection_.NetPlayFile(0, 86400, shared_.channel_mask, 1, 0), 0);

    ASSERT_TRUE(WaitFor([&] { return output_.Count() >= 6; }));
    std::vector<std::array<int, 3>> drawn;
    for (const auto& draw : output_.Draws())
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

TEST_F(DecodeThreadTest, FrameChecksAndPanes) {
    struct Head {
        char type;
        int channel;
        uint32_t length;
        int result;
    } heads[] = {
        {'V', 0, 0, 1},    {'A', 15, 304288, 1}, {'V', 16, 10, -1},
        {'V', -1, 10, -1}, {'V', 3, 304289, -1}, {'X', 3, 10, -1},
    };
    for (const Head& h : heads) {
        _NET_FRAME_HEAD_ head{};
        head.cType = h.type;
        head.nChannel = h.channel;
        head.nLength = h.length;
        EXPECT_EQ(CDecodeThread::CheckFrameHead(head), h.result)
            << h.type << " " << h.channel << " " << h.length;
    }
    SetRows({0, 6, 5, 6});  // the search never leaves a duplicate; the first row wins
    const std::pair<int, int> panes[] = {{5, 1}, {4, 2}, {0, -1}, {15, -1}, {-1, 0}};
    for (const auto& [channel, pane] : panes) {
        EXPECT_EQ(thread_.PaneOfChannel(channel), pane) << channel;
    }
}

// The stop ends the thread whatever it is doing: just started, drawing, or pausing for a
// window drag.
TEST_F(DecodeThreadTest, StopEndsTheThreadAtAnyMoment) {
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(thread_.StartDecodeThread(), 1);
        EXPECT_EQ(thread_.StopDecodeThread(), 1);
        EXPECT_FALSE(thread_.Running());
    }
    Connect(Recorder(1004, kH264CodecWord, {0, 2}));
    SetRows({1, 2, 3, 4});
    shared_.play_state = PlaybackShared::kPlayStateShowing;
    ASSERT_EQ(connection_.NetPlayFile(0, 86400, shared_.channel_mask, 0, 0), 0);
    ASSERT_TRUE(WaitFor([&] { return output_.Count() >= 4; }));
    shared_.window_drag = 1;
    // Frames pile up while the thread pauses after each picture.
    ASSERT_TRUE(WaitFor([&] { return connection_.IsHavePicBuf() > 10; }));
    EXPECT_EQ(thread_.StopDecodeThread(), 1);
    EXPECT_FALSE(thread_.Running());
}

}  // namespace
