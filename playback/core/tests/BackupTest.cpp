// A backup through the decode thread from a recorder on loopback: what lands in the pair and
// the rate line.
#include <regex>

extern "C" {
#include <libavutil/frame.h>
}

#include "DecodeFixture.h"
#include "H264Decoder.h"
#include "PairFrames.h"
#include "VideoCodec.h"

namespace {

class BackupTest : public DecodeFixture {
protected:
    void SetUp() override {
        DecodeFixture::SetUp();
        std::filesystem::create_directories(backup_folder_);
        thread_.SetSpeedClock([this] { return clock_ms_ += 50; });
        thread_.SetSpeedSink([this](const std::string& text) {
            std::lock_guard lock(texts_mutex_);
            texts_.push_back(text);
        });
    }

    // What the backup starts with: the pairs go to the folder, the recorder streams the span.
    void StartBackup(int start_s, int end_s, int audio) {
        backup_.Begin();
        backup_.SetDirectory(backup_folder_.string());
        ASSERT_EQ(connection_.NetPlayFile(start_s, end_s, shared_.channel_mask, audio, 1), 0);
    }

    bool Streaming() { return connection_.GetMachineInfe().nLinkState == kLinkStreaming; }

    // The same span as a plain client receives it.
    std::vector<PairFrame> Received(int start_s, int end_s, int audio) {
        NetCtrl client;
        client.InitNetWork();
        EXPECT_GE(client.ConnectToServer("127.0.0.1", emulator_.Port(0), "guest", "guest"), 0);
        EXPECT_GT(client.TimeToSearchRecList(KeyOfDayNumber(kToday), page_.data(), 0), 0);
        EXPECT_EQ(client.NetPlayFile(start_s, end_s, shared_.channel_mask, audio, 1), 0);
        std::vector<PairFrame> frames;
        std::vector<uint8_t> payload(NetCtrl::kFramePayloadBytes);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < deadline) {
            if (client.IsHavePicBuf() > 0) {
                _NET_FRAME_HEAD_ head;
                const int length = client.GetRawPicBuf(reinterpret_cast<char*>(&head),
                                                       reinterpret_cast<char*>(payload.data()));
                if (length >= 0)
                    frames.emplace_back(
                        head, std::vector<uint8_t>(payload.begin(), payload.begin() + length));
                continue;
            }
            if (client.GetMachineInfe().nLinkState != kLinkStreaming) break;
            client.WaitForPicBuf(10);
        }
        client.StopNetWork();
        return frames;
    }

    std::vector<std::string> Texts() {
        std::lock_guard lock(texts_mutex_);
        return texts_;
    }

    const std::filesystem::path backup_folder_ = folder_.Path() / "backup";
    std::atomic<uint32_t> clock_ms_{0};
    std::mutex texts_mutex_;
    std::vector<std::string> texts_;
};

// The channel whose colour a decoded picture shows in its top-right corner.
int ChannelOfPicture(const AVFrame* picture) {
    const int x = picture->width - 16;
    const int y = 16;
    const YuvColour c{picture->data[0][y * picture->linesize[0] + x],
                      picture->data[1][y / 2 * picture->linesize[1] + x / 2],
                      picture->data[2][y / 2 * picture->linesize[2] + x / 2]};
    for (int channel = 0; channel < 16; ++channel) {
        const YuvColour want = ChannelColour(channel);
        if (std::abs(c.y - want.y) < 8 && std::abs(c.u - want.u) < 8 && std::abs(c.v - want.v) < 8)
            return channel;
    }
    return -1;
}

// Cameras 1 and 3 with audio: the pair holds exactly the frames of channels 0 and 2 and their
// sound, as the recorder sent them, and every picture decodes to its camera; the rate line
// shows while it runs.
TEST_F(BackupTest, WritesExactlyTheChosenCamerasAndTheirSound) {
    RecorderConfig config = Recorder(1004, kH264CodecWord, {0, 2});
    config.audio_mask = 0xF;
    Connect(config);
    SetRows({1, 3, 0, 0});
    ASSERT_EQ(shared_.channel_mask, 0x5);
    StartBackup(36000, 36240, 1);
    ASSERT_TRUE(WaitFor([&] { return !Streaming(); }));
    backup_.End();
    EXPECT_FALSE(backup_.Failed());

    const auto pairs = Pairs(backup_folder_);
    ASSERT_EQ(pairs.size(), 1u);
    const std::vector<PairFrame> written = ReadPair(pairs[0]);
    const std::vector<PairFrame> sent = Received(36000, 36240, 1);
    ASSERT_EQ(written.size(), sent.size());
    std::array<CH264Decoder, 16> decoders;
    int pictures = 0;
    int sounds = 0;
    for (size_t i = 0; i < written.size(); ++i) {
        SCOPED_TRACE(i);
        _NET_FRAME_HEAD_ head = written[i].first;
        head.nOffset = sent[i].first.nOffset;
        ASSERT_EQ(std::memcmp(&head, &sent[i].first, sizeof head), 0);
        ASSERT_EQ(written[i].second, sent[i].second);
        const int channel = head.nChannel;
        if (head.cType == 'A') {
            ++sounds;
            EXPECT_TRUE(channel == 0 || channel == 2) << channel;
            continue;
        }
        ASSERT_TRUE(channel == 0 || channel == 2) << channel;
        CH264Decoder& decoder = decoders[channel];
        if (decoder.OpenedWidth() == 0) {
            ASSERT_EQ(decoder.Open(352, 288), 1);
        }
        int got_picture = 0;
        ASSERT_GE(decoder.Decode(decoder.Picture(), &got_picture, written[i].second.data(),
                                 static_cast<int>(written[i].second.size())),
                  0);
        ASSERT_EQ(got_picture, 1);
        EXPECT_EQ(ChannelOfPicture(decoder.Picture()), channel);
        ++pictures;
    }
    EXPECT_GT(pictures, 20);
    EXPECT_GT(sounds, 20);
    const auto texts = Texts();
    ASSERT_FALSE(texts.empty());
    for (const std::string& text : texts) {
        EXPECT_TRUE(std::regex_match(text, std::regex(R"(Speed \d+KB/s Recv \d+KB)"))) << text;
    }
}

}  // namespace
