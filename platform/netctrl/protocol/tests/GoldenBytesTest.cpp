// The wire as docs/protocol.md writes it ("Byte examples"), byte for byte: the client and the
// recorder share one encoder and decoder, so only a table written from the document catches a
// field in the wrong place or of the wrong width on both sides at once.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "platform/netctrl/protocol/MessageDecoder.h"
#include "platform/netctrl/protocol/MessageEncoder.h"
#include "platform/netctrl/protocol/PayloadCodec.h"

using namespace netproto;

namespace {

// Hex as the document writes it: groups of hex digits, and 00*n for n zero bytes.
std::vector<uint8_t> Bytes(const std::string& text) {
    std::vector<uint8_t> out;
    std::istringstream in(text);
    std::string group;
    while (in >> group) {
        if (const auto star = group.find('*'); star != std::string::npos) {
            out.insert(out.end(), std::stoul(group.substr(star + 1)),
                       static_cast<uint8_t>(std::stoul(group.substr(0, star), nullptr, 16)));
            continue;
        }
        for (std::size_t i = 0; i + 1 < group.size(); i += 2) {
            out.push_back(static_cast<uint8_t>(std::stoul(group.substr(i, 2), nullptr, 16)));
        }
    }
    return out;
}

template <typename Array>
Array Counting(uint8_t first) {
    Array a{};
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = static_cast<uint8_t>(first + i);
    }
    return a;
}

DiskReply OneDisk() {
    DiskReply reply;
    reply.disk_count = 1;
    reply.disks[0].nSizeMB = 500000;
    reply.disks[0].nFreePercent = 40;
    return reply;
}

Frame OneFrame() {
    Frame frame;
    frame.head.nLength = 4;
    frame.head.nKeyFrame = 1;
    frame.head.nTime = 0x5f5e1000;
    frame.head.cType = 'V';
    frame.head.nChannel = 3;
    frame.head.nSize = 2;
    frame.payload = {0, 0, 0, 1};
    return frame;
}

RecListReply OneRecord() {
    RecListReply reply;
    reply.result = 1;
    _QRF_FILESHOWINFO entry{};
    entry.nChannelMask = 0x0f;
    entry.nStartTime = 1000;
    entry.nEndTime = 2000;
    reply.entries.push_back(entry);
    return reply;
}

struct Golden {
    const char* name;
    Message message;
    const char* bytes;
};

}  // namespace

TEST(GoldenBytes, EveryMessageTypeEncodesAndDecodesAsDocumented) {
    const std::vector<Golden> table = {
        {"Hello", {1, Hello{}}, "44565250 0200 0100 01000000 00000000"},
        {"Challenge",
         {1, Challenge{Counting<Nonce>(0)}},
         "44565250 0200 0200 01000000 10000000 "
         "000102030405060708090a0b0c0d0e0f"},
        {"Login",
         {2, Login{"admin", Counting<Nonce>(16), Counting<Mac>(32)}},
         "44565250 0200 0300 02000000 37000000 050061646d696e "
         "101112131415161718191a1b1c1d1e1f "
         "202122232425262728292a2b2c2d2e2f303132333435363738393a3b3c3d3e3f"},
        {"LoginReply",
         {2, LoginReply{0, Counting<Mac>(64), {}}},
         "44565250 0200 0400 02000000 04010000 00000000 "
         "404142434445464748494a4b4c4d4e4f505152535455565758595a5b5c5d5e5f "
         "00*224"},
        {"Logout", {3, Logout{}}, "44565250 0200 0500 03000000 00000000"},
        {"KeepAlive", {4, KeepAlive{}}, "44565250 0200 0600 04000000 00000000"},
        {"Ack", {0x01020304, Ack{-2}}, "44565250 0200 0700 04030201 04000000 feffffff"},
        {"DiskQuery", {5, DiskQuery{}}, "44565250 0200 1000 05000000 00000000"},
        {"DiskReply",
         {5, OneDisk()},
         "44565250 0200 1100 05000000 c4000000 01000000 20a1070028000000 "
         "00*184"},
        {"LampQuery", {6, LampQuery{}}, "44565250 0200 1200 06000000 00000000"},
        {"LampReply",
         {6, LampReply{0x21, 0x03}},
         "44565250 0200 1300 06000000 08000000 2100000003000000"},
        {"SetNetParam",
         {7, SetNetParam{3, 25, 0}},
         "44565250 0200 1400 07000000 0c000000 030000001900000000000000"},
        {"LiveStart",
         {8, LiveStart{0xffff, 1}},
         "44565250 0200 2000 08000000 08000000 ffff0000 01000000"},
        {"LiveStop", {9, LiveStop{}}, "44565250 0200 2100 09000000 00000000"},
        {"KeyFrame", {10, KeyFrame{}}, "44565250 0200 2200 0a000000 00000000"},
        {"Frame",
         {0, OneFrame()},
         "44565250 0200 2300 00000000 28000000 "
         "040000000100000000105e5f0000000000000000560000000300000000020000 "
         "00000000 00000001"},
        {"Command",
         {11, Command{_NET_COMMAND_{1, 2, 3, 1, 0}}},
         "44565250 0200 3000 0b000000 14000000 "
         "0100000002000000030000000100000000000000"},
        {"ParaGet", {12, ParaGet{}}, "44565250 0200 3100 0c000000 00000000"},
        {"ParaReply",
         {12, ParaReply{0, {}}},
         "44565250 0200 3200 0c000000 08030000 00000000 00*772"},
        {"ParaSet", {13, ParaSet{}}, "44565250 0200 3300 0d000000 04030000 00*772"},
        {"RecListQuery",
         {14, RecListQuery{1090707, 0}},
         "44565250 0200 4000 0e000000 08000000 93a4100000000000"},
        {"RecListReply",
         {14, OneRecord()},
         "44565250 0200 4100 0e000000 64000000 01000000 01000000 "
         "0000000000000000000000000f0000000000000000000000e8030000d0070000 "
         "00*60"},
        {"PlayStart",
         {15, PlayStart{3600, 7200, 3, 1, 0}},
         "44565250 0200 4200 0f000000 14000000 100e0000201c0000 03000000 "
         "0100000000000000"},
        {"PlayStop", {16, PlayStop{}}, "44565250 0200 4300 10000000 00000000"},
        {"PlayEnd", {0, PlayEnd{15}}, "44565250 0200 4400 00000000 04000000 0f000000"},
        {"UploadBegin",
         {17, UploadBegin{"/mnt/mtd/app", 5}},
         "44565250 0200 5000 11000000 16000000 "
         "0c002f6d6e742f6d74642f617070 0500000000000000"},
        {"UploadChunk",
         {18, UploadChunk{{'h', 'e', 'l', 'l', 'o'}}},
         "44565250 0200 5100 12000000 05000000 68656c6c6f"},
        {"UploadEnd", {19, UploadEnd{}}, "44565250 0200 5200 13000000 00000000"},
        {"Shell", {20, Shell{"reboot"}}, "44565250 0200 5300 14000000 08000000 06007265626f6f74"},
    };
    std::set<MsgType> covered;
    for (const Golden& g : table) {
        SCOPED_TRACE(g.name);
        const std::vector<uint8_t> expected = Bytes(g.bytes);
        std::vector<uint8_t> encoded;
        std::string error;
        ASSERT_TRUE(EncodeMessage(g.message, encoded, error)) << error;
        EXPECT_EQ(encoded, expected);

        // The decoder reads the documented bytes back into the same fields: encoding what it
        // read gives the bytes again, and the type and request id are the table's.
        MessageDecoder decoder;
        Message decoded;
        ASSERT_TRUE(decoder.Feed(expected.data(), expected.size())) << decoder.Error();
        ASSERT_EQ(decoder.Next(decoded), DecodeStatus::kMessage) << decoder.Error();
        EXPECT_EQ(TypeOf(decoded.body), TypeOf(g.message.body));
        EXPECT_EQ(decoded.request_id, g.message.request_id);
        std::vector<uint8_t> again;
        ASSERT_TRUE(EncodeMessage(decoded, again, error)) << error;
        EXPECT_EQ(again, expected);
        covered.insert(TypeOf(g.message.body));
    }
    EXPECT_EQ(covered.size(), std::variant_size_v<Body>) << "a message type without bytes";
}
