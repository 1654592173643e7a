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

struct Inputs {
    Nonce server{};
    Nonce client{};
    ChannelBinding binding{};
    Inputs() {
        for (std::size_t i = 0; i < kNonceBytes; ++i) {
            server[i] = static_cast<uint8_t>(i);
            client[i] = static_cast<uint8_t>(16 + i);
        }
        for (std::size_t i = 0; i < kBindingBytes; ++i) {
            binding[i] = static_cast<uint8_t>(32 + i);
        }
    }
};

}  // namespace

// Vectors computed apart from this code: PBKDF2-HMAC-SHA256 (50000 rounds) and HMAC-SHA256 as
// docs/protocol.md lays them out.
TEST(LoginMac, ProofsFollowTheDocumentedLayout) {
    const Inputs in;
    struct Case {
        const char* password;
        const char* client;
        const char* recorder;
    };
    const Case cases[] = {
        {"secret", "646456107b89189561e46d0cc3bcb9f1166a72f7a2d18ae495c83b1d06347619",
         "5f2a4c43e41cdf5cbff1d9aad05c078273c88caa4a46cae74b5e15ffc92d8d32"},
        {"", "d932be80caa5b18be9c0ff3f2c5b1ad1ca3c56b106c1f29e1fb846a64030de8d",
         "a6a74aaad1555b11a137057c71955f87398ed38a50404ba84e5fe2f926c6f79f"},
    };
    for (const Case& c : cases) {
        const LoginKey key = DeriveLoginKey(c.password, in.server, in.client);
        EXPECT_EQ(HexOf(ClientProof(key, "admin", in.server, in.client, in.binding)), c.client)
            << '"' << c.password << '"';
        EXPECT_EQ(HexOf(RecorderProof(key, "admin", in.server, in.client, in.binding)), c.recorder)
            << '"' << c.password << '"';
    }
}

// A proof made with any input changed never matches: above all another connection's binding,
// which is what a relay in the middle would have to pass on.
TEST(LoginMac, ProofDependsOnEveryInput) {
    const Inputs in;
    const LoginKey key = DeriveLoginKey("secret", in.server, in.client);
    const Mac proof = ClientProof(key, "admin", in.server, in.client, in.binding);
    ChannelBinding other_binding = in.binding;
    other_binding[31] ^= 1;
    Nonce other_nonce = in.server;
    other_nonce[15] ^= 1;
    const struct {
        const char* what;
        Mac mac;
    } cases[] = {
        {"other password", ClientProof(DeriveLoginKey("Secret", in.server, in.client), "admin",
                                       in.server, in.client, in.binding)},
        {"other user", ClientProof(key, "admin2", in.server, in.client, in.binding)},
        {"other connection", ClientProof(key, "admin", in.server, in.client, other_binding)},
        {"nonces swapped", ClientProof(key, "admin", in.client, in.server, in.binding)},
        {"other server nonce", ClientProof(DeriveLoginKey("secret", other_nonce, in.client),
                                           "admin", other_nonce, in.client, in.binding)},
        {"recorder's proof", RecorderProof(key, "admin", in.server, in.client, in.binding)},
    };
    EXPECT_TRUE(SameMac(proof, ClientProof(key, "admin", in.server, in.client, in.binding)));
    for (const auto& c : cases) {
        EXPECT_FALSE(SameMac(proof, c.mac)) << c.what;
    }
}

TEST(LoginMac, RandomNoncesDiffer) { EXPECT_NE(RandomNonce(), RandomNonce()); }
