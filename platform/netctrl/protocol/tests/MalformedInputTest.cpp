#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/MessageEncoder.h"

using namespace netproto;

namespace {

struct Raw {
    uint32_t magic = kMagic;
    uint16_t version = kVersion;
    uint16_t type = 0;
    uint32_t request_id = 1;
    std::vector<uint8_t> payload;
    int64_t length_override = -1;  // a header length that differs from the payload

    std::vector<uint8_t> Bytes() const {
        std::vector<uint8_t> out(kHeaderBytes);
        const uint32_t length = length_override >= 0 ? static_cast<uint32_t>(length_override)
                                                     : static_cast<uint32_t>(payload.size());
        std::memcpy(out.data(), &magic, 4);
        std::memcpy(out.data() + 4, &version, 2);
        std::memcpy(out.data() + 6, &type, 2);
        std::memcpy(out.data() + 8, &request_id, 4);
        std::memcpy(out.data() + 12, &length, 4);
        out.insert(out.end(), payload.begin(), payload.end());
        return out;
    }
};

template <typename T>
void Put(std::vector<uint8_t>& out, T v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    out.insert(out.end(), p, p + sizeof v);
}

// Feeds bytes and returns the decoder's verdict on the first message.
DecodeStatus Decode(const std::vector<uint8_t>& bytes, std::string& error) {
    MessageDecoder decoder;
    Message out;
    decoder.Feed(bytes.data(), bytes.size());
    const DecodeStatus status = decoder.Next(out);
    error = decoder.Error();
    return status;
}

void ExpectRejected(const Raw& raw, const std::string& words) {
    std::string error;
    EXPECT_EQ(Decode(raw.Bytes(), error), DecodeStatus::kError);
    EXPECT_NE(error.find(words), std::string::npos) << error;
}

std::vector<uint8_t> FramePayload(uint32_t head_length, std::size_t payload_bytes) {
    std::vector<uint8_t> p(kFrameHeadBytes + payload_bytes);
    std::memcpy(p.data(), &head_length, 4);
    return p;
}

}  // namespace

TEST(MalformedInput, HeaderFaultsAreRejectedBeforeThePayloadArrives) {
    Raw bad_magic;
    bad_magic.magic = 0x12345678;
    bad_magic.type = static_cast<uint16_t>(MsgType::kHello);
    ExpectRejected(bad_magic, "bad magic 0x12345678");

    Raw bad_version;
    bad_version.version = 2;
    bad_version.type = static_cast<uint16_t>(MsgType::kHello);
    ExpectRejected(bad_version, "unsupported protocol version 2");

    Raw unknown;
    unknown.type = 0x0999;
    ExpectRejected(unknown, "unknown message type 0x00000999");

    // Only the header is fed: the huge length is refused without waiting for 4 GB.
    Raw huge;
    huge.type = static_cast<uint16_t>(MsgType::kFrame);
    huge.length_override = 0xFFFFFFFF;
    ExpectRejected(huge, "Frame payload length 4294967295 outside 36..786468");

    Raw oversize_frame;
    oversize_frame.type = static_cast<uint16_t>(MsgType::kFrame);
    oversize_frame.length_override = kMaxPayloadBytes + 1;
    ExpectRejected(oversize_frame, "outside 36..786468");

    Raw short_ack;
    short_ack.type = static_cast<uint16_t>(MsgType::kAck);
    short_ack.payload = {1, 2, 3};
    ExpectRejected(short_ack, "Ack payload length 3 outside 4..4");

    Raw long_hello;
    long_hello.type = static_cast<uint16_t>(MsgType::kHello);
    long_hello.payload = {0};
    ExpectRejected(long_hello, "Hello payload length 1");
}

TEST(MalformedInput, PayloadFaultsAreRejected) {
    Raw frame;
    frame.type = static_cast<uint16_t>(MsgType::kFrame);
    frame.payload = FramePayload(100, 99);
    ExpectRejected(frame, "frame head length 100 differs from payload 99");

    Raw list;
    list.type = static_cast<uint16_t>(MsgType::kRecListReply);
    Put<int32_t>(list.payload, 1);
    Put<uint32_t>(list.payload, 301);
    ExpectRejected(list, "record list of 301 entries, at most 300");

    Raw list_mismatch;
    list_mismatch.type = static_cast<uint16_t>(MsgType::kRecListReply);
    Put<int32_t>(list_mismatch.payload, 1);
    Put<uint32_t>(list_mismatch.payload, 2);
    list_mismatch.payload.resize(8 + 92);
    ExpectRejected(list_mismatch, "record list of 2 entries in 92 bytes");

    Raw disks;
    disks.type = static_cast<uint16_t>(MsgType::kDiskReply);
    Put<int32_t>(disks.payload, 9);
    disks.payload.resize(4 + 8 * 24);
    ExpectRejected(disks, "disk count 9 outside 0..8");

    Raw login;  // the user name claims more bytes than the payload holds
    login.type = static_cast<uint16_t>(MsgType::kLogin);
    Put<uint16_t>(login.payload, 60);
    login.payload.resize(2 + 16 + 32);
    ExpectRejected(login, "user name");

    Raw login_long;
    login_long.type = static_cast<uint16_t>(MsgType::kLogin);
    Put<uint16_t>(login_long.payload, 65);
    login_long.payload.resize(2 + 64 + 16 + 32);
    ExpectRejected(login_long, "user name");

    Raw login_trailing;
    login_trailing.type = static_cast<uint16_t>(MsgType::kLogin);
    Put<uint16_t>(login_trailing.payload, 1);
    login_trailing.payload.resize(2 + 1 + 16 + 32 + 5);
    ExpectRejected(login_trailing, "5 trailing bytes");

    Raw upload;
    upload.type = static_cast<uint16_t>(MsgType::kUploadBegin);
    Put<uint16_t>(upload.payload, 1);
    upload.payload.push_back('/');
    Put<uint64_t>(upload.payload, kMaxUploadFileBytes + 1);
    ExpectRejected(upload, "upload of 67108865 bytes");

    Raw shell;
    shell.type = static_cast<uint16_t>(MsgType::kShell);
    Put<uint16_t>(shell.payload, 0);
    shell.payload.push_back('x');
    ExpectRejected(shell, "shell command empty");
}

TEST(MalformedInput, TruncatedMessageWaitsThenFailsStaysFailed) {
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(EncodeMessage({5, PlayStart{1, 2, 3, 0, 1}}, bytes, error));
    MessageDecoder decoder;
    Message out;
    decoder.Feed(bytes.data(), bytes.size() - 1);
    EXPECT_EQ(decoder.Next(out), DecodeStatus::kNeedMore);
    EXPECT_FALSE(decoder.Failed());

    const uint8_t garbage[kHeaderBytes] = {0xDE, 0xAD};
    decoder.Feed(bytes.data() + bytes.size() - 1, 1);
    decoder.Feed(garbage, sizeof garbage);
    EXPECT_EQ(decoder.Next(out), DecodeStatus::kMessage);
    EXPECT_EQ(decoder.Next(out), DecodeStatus::kError);
    // A failed link is closed; later bytes are not accepted even when well formed.
    EXPECT_FALSE(decoder.Feed(bytes.data(), bytes.size()));
    EXPECT_EQ(decoder.Next(out), DecodeStatus::kError);
    EXPECT_EQ(decoder.BufferedBytes(), 0u);
}

TEST(MalformedInput, FeedBeyondOneMessageIsRefused) {
    // A valid header announcing a maximal frame, then more bytes than the frame holds: the
    // decoder buffers at most one message plus a chunk.
    Raw frame;
    frame.type = static_cast<uint16_t>(MsgType::kFrame);
    frame.length_override = kMaxPayloadBytes;
    MessageDecoder decoder;
    Message out;
    const auto header = frame.Bytes();
    ASSERT_TRUE(decoder.Feed(header.data(), header.size()));
    EXPECT_EQ(decoder.Next(out), DecodeStatus::kNeedMore);
    const std::vector<uint8_t> flood(kMaxPayloadBytes + MessageDecoder::kFeedChunkBytes + 1);
    EXPECT_FALSE(decoder.Feed(flood.data(), flood.size()));
    EXPECT_TRUE(decoder.Failed());
}
