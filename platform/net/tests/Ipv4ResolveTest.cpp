#include <gtest/gtest.h>

#include "platform/net/Ipv4Resolve.h"

TEST(Ipv4Resolve, DottedTextLocalNamesAndFailures) {
    const auto dotted = ResolveIpv4("127.0.0.1");
    ASSERT_TRUE(dotted);
    EXPECT_EQ(dotted->s_addr, htonl(INADDR_LOOPBACK));
    EXPECT_EQ(ResolveIpv4Text("127.0.0.1"), "127.0.0.1");
    const auto localhost = ResolveIpv4Text("localhost");
    ASSERT_TRUE(localhost);
    EXPECT_EQ(localhost->rfind("127.", 0), 0u);
    EXPECT_EQ(ResolveIpv4Text("no-such-host.invalid"), std::nullopt);
    EXPECT_FALSE(ResolveIpv4(""));
}
