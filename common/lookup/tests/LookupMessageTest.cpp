#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "LookupClient.h"

namespace {

int32_t ReadInt32(const LookupWire& wire, std::size_t offset) {
    return static_cast<int32_t>(wire[offset] | wire[offset + 1] << 8 | wire[offset + 2] << 16 |
                                static_cast<uint32_t>(wire[offset + 3]) << 24);
}

TEST(LookupMessage, PackWritesLittleEndianFieldsAndZerosBehindTerminators) {
    _LOOKUP_MESSAGE_ record{};
    record.nCode = -1010;
    std::strcpy(record.szText, "dvr-7");
    std::strcpy(record.szKind, "pc");
    record.nPort = 0x01020304;
    record.nExtra = 9;
    std::memset(record.reserved, 0xAB, sizeof record.reserved);  // never sent
    LookupWire wire;
    wire.fill(0xEE);
    CLookupClient::PackMessage(wire, record);

    EXPECT_EQ(wire[0], 0x0E);  // -1010 = 0xFFFFFC0E
    EXPECT_EQ(wire[1], 0xFC);
    EXPECT_EQ(wire[2], 0xFF);
    EXPECT_EQ(wire[3], 0xFF);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&wire[4])), "dvr-7");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&wire[204])), "pc");
    EXPECT_EQ(ReadInt32(wire, 224), 0x01020304);
    EXPECT_EQ(wire[224], 0x04);
    EXPECT_EQ(ReadInt32(wire, 228), 9);
    for (std::size_t i = 4 + 6; i < 204; ++i) {
        ASSERT_EQ(wire[i], 0) << i;
    }
    for (std::size_t i = 232; i < wire.size(); ++i) {
        ASSERT_EQ(wire[i], 0) << i;
    }
}

TEST(LookupMessage, UnpackCutsUnterminatedTextsInsideTheirFields) {
    LookupWire wire;
    wire.fill('A');
    _LOOKUP_MESSAGE_ record;
    CLookupClient::UnpackMessage(record, wire);
    EXPECT_EQ(std::strlen(record.szText), 199u);
    EXPECT_EQ(std::strlen(record.szKind), 9u);
    EXPECT_EQ(std::strlen(record.szExtra), 9u);
    EXPECT_EQ(record.nPort, 0x41414141);

    // A multi-byte character across the cut is dropped whole.
    wire.fill(0);
    std::memset(&wire[4], 'a', 198);
    wire[4 + 198] = 0xC3;
    wire[4 + 199] = 0xA9;
    CLookupClient::UnpackMessage(record, wire);
    EXPECT_EQ(std::string(record.szText), std::string(198, 'a'));
}

TEST(LookupMessage, PackAndUnpackRoundTrip) {
    _LOOKUP_MESSAGE_ record{};
    record.nCode = 101;
    std::strcpy(record.szText, "192.168.1.20");
    std::strcpy(record.szExtra, "x");
    record.nPort = 5050;
    LookupWire wire;
    CLookupClient::PackMessage(wire, record);
    _LOOKUP_MESSAGE_ back;
    std::memset(&back, 0x55, sizeof back);
    CLookupClient::UnpackMessage(back, wire);
    EXPECT_EQ(std::memcmp(&back, &record, sizeof record), 0);
}

TEST(LookupMessage, ReplyCodesDecideTheResult) {
    struct Case {
        int32_t code;
        int expected;
    };
    for (const Case& c : {Case{-1009, -1009}, Case{-1010, -1010}, Case{0, 1}, Case{101, 1},
                          Case{-1, 1}, Case{-1004, 1}, Case{110, 1}}) {
        _LOOKUP_MESSAGE_ record{};
        record.nCode = c.code;
        std::strcpy(record.szText, "10.0.0.5");
        record.nPort = 7000;
        LookupWire wire;
        CLookupClient::PackMessage(wire, record);
        std::string address = "old";
        int port = 1;
        EXPECT_EQ(CLookupClient::ReadReply(wire, address, port), c.expected) << c.code;
        if (c.expected == 1) {
            EXPECT_EQ(address, "10.0.0.5");
            EXPECT_EQ(port, 7000);
        } else {
            EXPECT_EQ(address, "old");
            EXPECT_EQ(port, 1);
        }
    }
}

}  // namespace
