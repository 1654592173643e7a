#include "tools/recorder-emulator/ChannelStream.h"
#include "tools/recorder-emulator/LiveStreamer.h"
#include "tools/recorder-emulator/PlaybackStreamer.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int64_t kSecondUs = 1000000;

std::shared_ptr<const FrameLoop> FakeLoop(size_t frames) {
    auto loop = std::make_shared<FrameLoop>();
    for (size_t i = 0; i < frames; ++i) {
        loop->frames.push_back({std::vector<uint8_t>(10 + i, static_cast<uint8_t>(i)), i == 0});
    }
    return loop;
}

std::vector<ChannelStream> Streams(int count, size_t loop_frames = 5) {
    std::vector<ChannelStream> streams;
    for (int c = 0; c < count; ++c)
        streams.emplace_back(c, ChannelFormat{0, 2}, FakeLoop(loop_frames));
    return streams;
}

struct Collected {
    std::vector<_NET_FRAME_HEAD_> heads;
    FrameSink Sink() {
        return [this](const _NET_FRAME_HEAD_& h, std::span<const uint8_t> payload) {
            EXPECT_EQ(h.nLength, payload.size());
            heads.push_back(h);
        };
    }
    int Count(char type, int channel = -1) const {
        int n = 0;
        for (const auto& h : heads)
            n += h.cType == type && (channel < 0 || h.nChannel == channel);
        return n;
    }
};

// Pumps every 10 ms from from_us up to to_us, as a connection's loop does.
template <typename Streamer, typename... Clock>
void PumpEvery10ms(Streamer& s, int64_t from_us, int64_t to_us, Collected& got, Clock... clock_s) {
    for (int64_t t = from_us; t <= to_us; t += 10000)
        s.Pump(t, clock_s..., got.Sink());
}

TEST(LiveStreamer, FrameRateFollowsTheSetting) {
    LiveStreamer live(Streams(2), 25, {}, 0);
    Collected got;
    PumpEvery10ms(live, 0, kSecondUs - 1, got, int64_t{1000});  // frames at 0, 40, ... 960 ms
    EXPECT_EQ(got.Count('V', 0), 25);
    EXPECT_EQ(got.Count('V', 1), 25);
    EXPECT_EQ(got.heads.front().nTime, 1000);

    live.SetFps(6);
    got.heads.clear();
    PumpEvery10ms(live, kSecondUs, 2 * kSecondUs - 1, got, int64_t{1001});
    EXPECT_NEAR(got.Count('V', 0), 6, 1);
    live.Pump(2 * kSecondUs, 1002, got.Sink());
    EXPECT_GT(live.UntilNextUs(2 * kSecondUs), 0);
    EXPECT_LE(live.UntilNextUs(2 * kSecondUs), kSecondUs / 6);

    // Far behind (a stall), it skips ahead instead of sending a burst.
    got.heads.clear();
    live.Pump(60 * kSecondUs, 1060, got.Sink());
    EXPECT_LE(got.Count('V', 0), 1);
}

TEST(LiveStreamer, AudioBlocksAtTheirOwnPace) {
    LiveStreamer live(Streams(2), 25, {0x2, 320}, 0);
    Collected got;
    PumpEvery10ms(live, 0, kSecondUs - 1, got, int64_t{0});
    EXPECT_EQ(got.Count('A', 1), 50);  // 20 ms blocks
    EXPECT_EQ(got.Count('A', 0), 0);
    for (const auto& h : got.heads) {
        if (h.cType == 'A') {
            EXPECT_EQ(h.nLength, 320u);
        }
    }
}

TEST(ChannelStream, NumbersFramesWithinTheLoopAndRestartsOnRequest) {
    ChannelStream stream(3, ChannelFormat{1, 1}, FakeLoop(4));
    _NET_FRAME_HEAD_ h{};
    std::vector<int> numbers;
    for (int i = 0; i < 6; ++i) {
        const EncodedFrame& f = stream.Next(7, h);
        EXPECT_EQ(h.nKeyFrame, f.key ? 1 : 0);
        numbers.push_back(h.nFrameNo);
    }
    EXPECT_EQ(numbers, (std::vector<int>{0, 1, 2, 3, 0, 1}));
    EXPECT_EQ(h.nChannel, 3);
    EXPECT_EQ(h.nStandard, 1);
    EXPECT_EQ(h.nSize, 1);
    EXPECT_EQ(h.cType, 'V');
    stream.RequestKeyFrame();
    stream.Next(7, h);
    EXPECT_EQ(h.nFrameNo, 0);
    EXPECT_EQ(h.nKeyFrame, 1);
}

TEST(PlaybackStreamer, NormalSpeedFollowsTheRecordedTimes) {
    const int64_t day = 14000;
    const int64_t midnight = day * 86400;
    auto schedule = std::make_shared<DaySchedule>(
        std::vector<RecordSegment>{{100, 102, 0x1}, {102, 200, 0x3}}, day, day, 2);
    PlaybackStreamer play(schedule, {day, 101, 104, 0x3, true, false}, Streams(2),
                          {25, 16, 0x1, 320}, 0);
    Collected got;
    PumpEvery10ms(play, 0, kSecondUs - 1, got);  // one second of recording: 101
    EXPECT_EQ(got.Count('V', 0), 25);
    EXPECT_EQ(got.Count('V', 1), 0);
    EXPECT_EQ(got.heads.front().nTime, midnight + 101);
    EXPECT_EQ(got.heads.front().nFrameNo, 0);
    EXPECT_EQ(got.Count('A', 0), 50);
    EXPECT_FALSE(play.Finished());

    got.heads.clear();
    PumpEvery10ms(play, kSecondUs, 3 * kSecondUs - 1,
                  got);  // 102 and 103: channel 1 joins at a key frame
    EXPECT_EQ(got.Count('V', 1), 50);
    int first_of_1 = -1;
    for (const auto& h : got.heads) {
        if (h.cType == 'V' && h.nChannel == 1 && first_of_1 < 0) first_of_1 = h.nFrameNo;
    }
    EXPECT_EQ(first_of_1, 0);
    EXPECT_EQ(got.heads.back().nTime, midnight + 103);
    EXPECT_TRUE(play.Finished());
}

TEST(PlaybackStreamer, KeyFrameOnRequest) {
    const int64_t day = 14000;
    auto schedule =
        std::make_shared<DaySchedule>(std::vector<RecordSegment>{{0, 86400, 0x1}}, day, day, 1);
    PlaybackStreamer play(schedule, {day, 0, 100, 0x1, false, false}, Streams(1, 10),
                          {25, 16, 0, 320}, 0);
    Collected got;
    PumpEvery10ms(play, 0, 200000, got);  // frames 0 .. 5
    ASSERT_GT(got.heads.back().nFrameNo, 2);
    play.RequestKeyFrame();
    got.heads.clear();
    PumpEvery10ms(play, 210000, 250000, got);
    ASSERT_FALSE(got.heads.empty());
    EXPECT_EQ(got.heads.front().nFrameNo, 0);
    EXPECT_EQ(got.heads.front().nKeyFrame, 1);
}

TEST(PlaybackStreamer, FastSpeedStepsAndEnds) {
    const int64_t day = 14000;
    auto schedule =
        std::make_shared<DaySchedule>(std::vector<RecordSegment>{{0, 86400, 0x1}}, day, day, 1);
    PlaybackStreamer play(schedule, {day, 0, 100, 0x1, false, true}, Streams(1), {25, 25, 0, 320},
                          0);
    Collected got;
    EXPECT_EQ(play.UntilNextUs(0), 0);
    for (int i = 0; i < 1000 && !play.Finished(); ++i)
        play.Pump(0, got.Sink());  // no pacing
    EXPECT_TRUE(play.Finished());
    EXPECT_EQ(got.Count('V'), 100);  // one frame per second of recording
    EXPECT_EQ(got.heads.back().nTime, day * 86400 + 99);
}

}  // namespace
