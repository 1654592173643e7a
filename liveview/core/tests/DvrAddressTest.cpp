#include "liveview/core/store/DvrAddress.h"

#include <gtest/gtest.h>

namespace {

DvrAddress Direct(const std::string& host, int port) {
    DvrAddress address;
    address.host = host;
    address.port = port;
    return address;
}

DvrAddress Lookup(const std::string& host, const std::string& name) {
    DvrAddress address;
    address.host = host;
    address.device_name = name;
    address.via_lookup = true;
    return address;
}

}  // namespace

TEST(DvrAddress, ShortRightPartIsAPort) {
    EXPECT_EQ(ParseDvrAddress("192.168.1.9:6802"), Direct("192.168.1.9", 6802));
    EXPECT_EQ(ParseDvrAddress("dvr.local/65535"), Direct("dvr.local", 65535));
    EXPECT_EQ(ParseDvrAddress("10.0.0.1\\80"), Direct("10.0.0.1", 80));
}

TEST(DvrAddress, SixOrMoreCharactersNameADeviceAtTheLookupServer) {
    EXPECT_EQ(ParseDvrAddress("lookup.example.org:abc123"), Lookup("lookup.example.org", "ABC123"));
    EXPECT_EQ(ParseDvrAddress("1.2.3.4/068020"), Lookup("1.2.3.4", "068020"));
}

TEST(DvrAddress, SlashWinsOverColonAndTheLastOneSplits) {
    EXPECT_EQ(ParseDvrAddress("host:1/front-door"), Lookup("host:1", "FRONT-DOOR"));
    EXPECT_EQ(ParseDvrAddress("a/b/6802"), Direct("a/b", 6802));
    EXPECT_EQ(ParseDvrAddress("a\\b:c\\Yard01"), Lookup("a\\b:c", "YARD01"));
}

TEST(DvrAddress, OnlyAnAddressWithoutSeparatorFails) {
    EXPECT_EQ(ParseDvrAddress("192.168.1.9"), std::nullopt);
    EXPECT_EQ(ParseDvrAddress(""), std::nullopt);
}

TEST(DvrAddress, AShortRightPartThatIsNoNumberIsPortZero) {
    EXPECT_EQ(ParseDvrAddress("host:"), Direct("host", 0));
    EXPECT_EQ(ParseDvrAddress("host:0"), Direct("host", 0));
    EXPECT_EQ(ParseDvrAddress("host:68o2"), Direct("host", 0));
    EXPECT_EQ(ParseDvrAddress("host:-80"), Direct("host", 0));
    EXPECT_EQ(ParseDvrAddress("host:70000"), Direct("host", 70000));  // refused by the log-in
}

TEST(DvrAddress, LookupHostIsCutToItsBuffer) {
    const std::string host(300, 'h');
    const auto parsed = ParseDvrAddress(host + "/DEVICE");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->host, std::string(199, 'h'));
}

TEST(DvrAddress, OnlyNamesInTheFirst15CharactersNeedALookup) {
    EXPECT_FALSE(NeedsHostLookup("192.168.100.200"));
    EXPECT_FALSE(NeedsHostLookup("192.168.100.200x"));
    EXPECT_TRUE(NeedsHostLookup("lookup.example"));
    EXPECT_TRUE(NeedsHostLookup("10.0.0.1a"));
    EXPECT_FALSE(NeedsHostLookup(""));
}
