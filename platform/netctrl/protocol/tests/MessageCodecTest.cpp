#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/MessageEncoder.h"
#include "platform/netctrl/protocol/PayloadCodec.h"

using namespace netproto;

namespace {

std::vector<uint8_t> Encode(const Message& message) {
    std::vector<uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(EncodeMessage(message, bytes, error)) << error;
    return bytes;
}

// One message of every type, with values that show a field in the wrong place.
std::vector<Message> Samples() {
    std::vector<Message> all;
    uint32_t id = 1;
    auto add = [&](Body body) { all.push_back({id++, std::move(body)}); };
    add(Hello{});
    Challenge challenge;
    challenge.server_nonce.fill(0xA5);
    add(challenge);
    Login login;
    login.user = "ADMIN";
    login.client_nonce.fill(0x11);
    login.mac.fill(0x22);
    add(login);
    LoginReply reply;
    reply.result = 3;
    reply.info.nTypeCode = 1016;
    reply.info.disk[7].nLastTime = 1251460800;
    reply.info.nCodec = kCodecH264;
    reply.info.nUserLevel = 2;
    reply.info.nAudioMask = 0x8;
    add(reply);
    add(Logout{});
    add(KeepAlive{});
    add(Ack{-7});
    DiskReply disks;
    disks.disk_count = 2;
    disks.disks[1] = {500000, 40, 100, 3, 1248000000, 1251460800};
    add(disks);
    add(DiskQuery{});
    add(LampQuery{});
    add(LampReply{0x81, 0x02});
    add(SetNetParam{640, 16, 0});
    add(LiveStart{0xffff, 1});
    add(LiveStop{});
    add(KeyFrame{});
    Frame frame;
    frame.head.nKeyFrame = 1;
    frame.head.nTime = 1251460800;
    frame.head.cType = 'V';
    frame.head.nChannel = 5;
    frame.head.nSize = 2;
    frame.head.nFrameNo = 0;
    frame.payload.assign(1000, 0x5C);
    frame.payload[999] = 1;
    frame.head.nLength = 1000;
    add(frame);
    add(Command{{16, 9, 3, 1, 0}});
    add(ParaGet{});
    ParaReply para_reply;
    para_reply.result = 0;
    para_reply.para.brightness[0] = 50;
    para_reply.para.resolution = 2;
    add(para_reply);
    ParaSet para_set;
    para_set.para.encodeFps[15] = 3;
    add(para_set);
    add(RecListQuery{MakeDayKey(2009, 8, 28), 2});
    RecListReply list;
    list.result = 4;
    list.entries.resize(kMaxRecListEntries);
    list.entries[299].nChannelMask = 0x5;
    list.entries[299].nStartTime = 1251417600;
    list.entries[299].nEndTime = 1251421200;
    add(list);
    add(PlayStart{49530, 86400, 0x5, 1, 1});
    add(PlayStop{});
    add(PlayEnd{42});
    add(UploadBegin{"/mnt/mtd/bin/app", 123456});
    add(UploadChunk{std::vector<uint8_t>(kMaxUploadChunkBytes, 0x7E)});
    add(UploadEnd{});
    add(Shell{"chmod 777 /mnt/mtd/net_update_start.sh"});
    return all;
}

}  // namespace

TEST(MessageCodec, EveryTypeRoundTripsWholeAndByteByByte) {
    const auto samples = Samples();
    ASSERT_EQ(samples.size(), std::variant_size_v<Body>);  // one sample per type
    for (const Message& sample : samples) {
        SCOPED_TRACE(TypeName(TypeOf(sample.body)));
        const std::vector<uint8_t> bytes = Encode(sample);

        MessageDecoder whole;
        Message decoded;
        ASSERT_TRUE(whole.Feed(bytes.data(), bytes.size()));
        ASSERT_EQ(whole.Next(decoded), DecodeStatus::kMessage) << whole.Error();
        EXPECT_EQ(decoded.request_id, sample.request_id);
        EXPECT_EQ(TypeOf(decoded.body), TypeOf(sample.body));
        EXPECT_EQ(Encode(decoded), bytes);
        EXPECT_EQ(whole.Next(decoded), DecodeStatus::kNeedMore);

        MessageDecoder trickle;
        std::size_t messages = 0;
        for (uint8_t b : bytes) {
            ASSERT_TRUE(trickle.Feed(&b, 1));
            while (trickle.Next(decoded) == DecodeStatus::kMessage) {
                ++messages;
            }
        }
        EXPECT_EQ(messages, 1u);
        EXPECT_FALSE(trickle.Failed());
    }
}

TEST(MessageCodec, StreamOfMessagesDecodesInOrder) {
    std::vector<uint8_t> stream;
    const auto samples = Samples();
    for (const Message& m : samples) {
        const auto bytes = Encode(m);
        stream.insert(stream.end(), bytes.begin(), bytes.end());
    }
    MessageDecoder decoder;
    Message decoded;
    std::size_t next = 0;
    for (std::size_t at = 0; at < stream.size(); at += 777) {
        const std::size_t n = std::min<std::size_t>(777, stream.size() - at);
        ASSERT_TRUE(decoder.Feed(stream.data() + at, n));
        while (decoder.Next(decoded) == DecodeStatus::kMessage) {
            ASSERT_LT(next, samples.size());
            EXPECT_EQ(decoded.request_id, samples[next].request_id);
            ++next;
        }
    }
    EXPECT_EQ(next, samples.size());
}

TEST(MessageCodec, WireLayoutIsLittleEndianWithSixteenByteHeader) {
    const auto bytes = Encode({0x01020304, Ack{-2}});
    const std::vector<uint8_t> expected = {'D', 'V', 'R', 'P', 1, 0, 0x07, 0x00, 4,    3,
                                           2,   1,   4,   0,   0, 0, 0xFE, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(bytes, expected);
}

TEST(MessageCodec, FrameDecodesHeadAndPayloadIntact) {
    Frame frame;
    frame.head.cType = 'A';
    frame.head.nChannel = 3;
    frame.payload.resize(kMaxFramePayloadBytes);
    for (std::size_t i = 0; i < frame.payload.size(); ++i) {
        frame.payload[i] = static_cast<uint8_t>(i * 7);
    }
    frame.head.nLength = static_cast<uint32_t>(frame.payload.size());
    const auto bytes = Encode({0, frame});
    MessageDecoder decoder;
    Message decoded;
    ASSERT_TRUE(decoder.Feed(bytes.data(), bytes.size()));
    ASSERT_EQ(decoder.Next(decoded), DecodeStatus::kMessage);
    const auto& got = std::get<Frame>(decoded.body);
    EXPECT_EQ(got.head.cType, 'A');
    EXPECT_EQ(got.head.nChannel, 3);
    EXPECT_EQ(got.payload, frame.payload);
}

TEST(MessageCodec, EncoderRefusesMessagesOverALimit) {
    std::vector<uint8_t> bytes;
    std::string error;
    Frame big;
    big.payload.resize(kMaxFramePayloadBytes + 1);
    big.head.nLength = static_cast<uint32_t>(big.payload.size());
    Frame lying;
    lying.payload.resize(10);
    lying.head.nLength = 11;
    RecListReply long_list;
    long_list.entries.resize(kMaxRecListEntries + 1);
    DiskReply disks;
    disks.disk_count = kDvrMaxDisks + 1;
    const std::vector<Body> refused = {
        Login{std::string(kMaxUserBytes + 1, 'u'), {}, {}},
        big,
        lying,
        long_list,
        disks,
        UploadBegin{"", 1},
        UploadBegin{std::string(kMaxRemotePathBytes + 1, 'p'), 1},
        UploadBegin{"/mnt/mtd/x", kMaxUploadFileBytes + 1},
        UploadChunk{{}},
        UploadChunk{std::vector<uint8_t>(kMaxUploadChunkBytes + 1)},
        Shell{""},
        Shell{std::string(kMaxShellBytes + 1, 's')},
    };
    for (const Body& body : refused) {
        SCOPED_TRACE(TypeName(TypeOf(body)));
        bytes.clear();
        EXPECT_FALSE(EncodeMessage({1, body}, bytes, error));
        EXPECT_FALSE(error.empty());
        EXPECT_TRUE(bytes.empty());
    }
}
