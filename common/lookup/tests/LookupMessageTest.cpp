#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "common/lookup/LookupClient.h"

namespace {

std::string TextAt(const LookupWire& wire, std::size_t offset) {
    return reinterpret_cast<const char*>(&wire[offset]);
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

    const LookupWire::value_type code[] = {0x0E, 0xFC, 0xFF, 0xFF};  // -1010
    EXPECT_EQ(std::memcmp(&wire[0], code, 4), 0);
    EXPECT_EQ(TextAt(wire, 4), "dvr-7");
    EXPECT_EQ(TextAt(wire, 204), "pc");
    const LookupWire::value_type port[] = {0x04, 0x03, 0x02, 0x01, 9, 0, 0, 0};
    EXPECT_EQ(std::memcmp(&wire[224], port, 8), 0);
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

    // A character across the cut is dropped whole.
    wire.fill(0);
    std::memset(&wire[4], 'a', 198);
    wire[4 + 198] = 0xC3;
    wire[4 + 199] = 0xA9;
    std::string address = "old";
    int port = 1;
    EXPECT_EQ(CLookupClient::ReadReply(wire, address, port), 1);
    EXPECT_EQ(address, std::string(198, 'a'));
}

}  // namespace
