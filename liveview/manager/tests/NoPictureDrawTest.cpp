// A frame the decoder takes without producing a picture (an MPEG-4 VOL on its own) must leave
// the cell as it is: drawing would show an empty or stale picture.
#include <atomic>
#include <memory>

#include "common/picture/tests/TestStreams.h"
#include "liveview/manager/tests/DisplayFixture.h"
#include "platform/netctrl/tests/ScriptedRecorder.h"

using namespace netproto;

namespace {

constexpr int32_t kMpeg4CodecWord = 0;

// The payload up to the first picture's start code: the VOL headers alone.
std::vector<uint8_t> HeadersOnly(const std::vector<uint8_t>& payload) {
    for (size_t i = 0; i + 3 < payload.size(); ++i) {
        if (payload[i] == 0 && payload[i + 1] == 0 && payload[i + 2] == 1 &&
            payload[i + 3] == 0xB6) {
            return {payload.begin(), payload.begin() + static_cast<long>(i)};
        }
    }
    return {};
}

Frame CifKeyFrame(std::vector<uint8_t> payload) {
    Frame frame;
    frame.head.cType = 'V';
    frame.head.nChannel = 0;
    frame.head.nKeyFrame = 1;
    frame.head.nSize = 2;
    frame.head.nLength = static_cast<uint32_t>(payload.size());
    frame.payload = std::move(payload);
    return frame;
}

Frame Sound() {
    Frame frame;
    frame.head.cType = 'A';
    frame.payload.assign(320, 0);
    frame.head.nLength = static_cast<uint32_t>(frame.payload.size());
    return frame;
}

class NoPictureDrawTest : public DisplayFixture {
protected:
    bool CellDrawn(int cell) const {
        const VideoCell c = grid_.Cell(cell);
        bool drawn = false;
        surface_->Read([&](const uint32_t* pixels, int width, int height) {
            for (int y = c.video_y; y < c.video_y + c.video_height && y < height; ++y)
                for (int x = c.video_x; x < c.video_x + c.video_width && x < width; ++x)
                    drawn = drawn || (pixels[y * width + x] >> 24) != 0;
        });
        return drawn;
    }
};

}  // namespace

TEST_F(NoPictureDrawTest, AVolOnlyFrameDrawsNothingAndTheNextPictureIsDrawn) {
    const auto stream = test_streams::EncodeStream(test_streams::Codec::kMpeg4, 352, 288, 1);
    ASSERT_EQ(stream.size(), 1u);
    const std::vector<uint8_t> vol = HeadersOnly(stream[0]);
    ASSERT_FALSE(vol.empty());
    std::atomic<bool> send_picture{false};
    ScriptedRecorder recorder([&](ScriptedPeer& p) {
        if (!p.Handshake(0, kSuperUserLevel, kMpeg4CodecWord)) return;
        bool vol_sent = false;
        bool picture_sent = false;
        while (!p.Stopping()) {
            Message m;
            if (p.Read(m, 20)) {
                if (std::holds_alternative<KeepAlive>(m.body) || m.request_id == 0) continue;
                p.Send(m.request_id, Ack{0});
                if (std::holds_alternative<LiveStart>(m.body) && !vol_sent) {
                    // The sound after it tells the test the VOL has been dealt with.
                    vol_sent = p.Send(0, CifKeyFrame(vol)) && p.Send(0, Sound());
                }
            } else if (send_picture && !picture_sent) {
                picture_sent = p.Send(0, CifKeyFrame(stream[0]));
            }
        }
    });
    manager_->SetCurrentDvr(0);
    ASSERT_EQ(manager_->AddDvr("127.0.0.1:" + std::to_string(recorder.Port()), "", "admin", "admin",
                               "dvr"),
              1);
    _DVR_SETTINGS_ settings;
    ASSERT_EQ(manager_->GetDvr(0, settings), 1);
    ASSERT_EQ(manager_->UpdateDvr(0, settings, RecordFolder()), 1);
    ASSERT_EQ(manager_->StartDvrNetwork(0), 1);
    ASSERT_GE(manager_->ConnectDvr(0), 0);
    manager_->RefreshLiveViews();

    ASSERT_TRUE(PollUntil([&] { return manager_->GetFrameCounts(0).received == 2; }));
    EXPECT_EQ(manager_->GetFrameCounts(0).decoded, 1);
    EXPECT_EQ(manager_->GetFrameCounts(0).shown, 0);
    EXPECT_FALSE(CellDrawn(0));

    send_picture = true;
    ASSERT_TRUE(PollUntil([&] { return manager_->GetFrameCounts(0).shown == 1; }));
    EXPECT_TRUE(CellDrawn(0));
}
