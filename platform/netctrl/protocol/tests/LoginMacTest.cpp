#include "platform/netctrl/protocol/LoginMac.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace netproto;

namespace {

std::string HexOf(const Mac& mac) {
    std::string text;
    char byte[3];
    for (uint8_t b : mac) {
        std::snprintf(byte, sizeof byte, "%02x", b);
        text += byte;
    }
    return text;
}

struct Nonces {
    Nonce server{};
    Nonce client{};
    Nonces() {
        for (std::size_t i = 0; i < kNonceBytes; ++i) {
            server[i] = static_cast<uint8_t>(i);
            client[i] = static_cast<uint8_t>(16 + i);
        }
    }
};

}  // namespace

TEST(LoginMac, IsHmacSha256OfServerThenClientNonceKeyedByPassword) {
    const Nonces n;
    EXPECT_EQ(HexOf(ComputeLoginMac("secret", n.server, n.client)),
              "47860bcbb991426bea828dbf6097dff33339b093e3b9f61d9aef8a052f93e402");
    EXPECT_EQ(HexOf(ComputeLoginMac("", n.server, n.client)),
              "46bd320605c5a6b6163ab70bc6345b92a5f908e79fe58979c23ebb47d1a5e307");
}

TEST(LoginMac, CheckRefusesOtherPasswordNoncesOrOrder) {
    const Nonces n;
    const Mac mac = ComputeLoginMac("secret", n.server, n.client);
    EXPECT_TRUE(CheckLoginMac("secret", n.server, n.client, mac));
    EXPECT_FALSE(CheckLoginMac("Secret", n.server, n.client, mac));
    EXPECT_FALSE(CheckLoginMac("secret", n.client, n.server, mac));
    Nonce other = n.server;
    other[15] ^= 1;
    EXPECT_FALSE(CheckLoginMac("secret", other, n.client, mac));
}

TEST(LoginMac, RandomNoncesDiffer) { EXPECT_NE(RandomNonce(), RandomNonce()); }
