#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/netctrl/protocol/Messages.h"

// Log-in proofs (docs/protocol.md, "Log-in"). The password never crosses the network; both
// sides prove they know it, and each proof covers the TLS connection it is sent on, so a relay
// that ends TLS on both sides can pass neither proof on.
namespace netproto {

inline constexpr std::size_t kBindingBytes = 32;
// PBKDF2 rounds of the log-in key: each guess of an offline search costs as much.
inline constexpr int kLoginKeyRounds = 50000;

// The connection's TLS exporter value (all zero on a plain measuring link).
using ChannelBinding = std::array<uint8_t, kBindingBytes>;
using LoginKey = std::array<uint8_t, 32>;

Nonce RandomNonce();
// PBKDF2-HMAC-SHA256(password, "recorder login" || server nonce || client nonce): slow on
// purpose, and fresh for every log-in so nothing can be computed ahead.
LoginKey DeriveLoginKey(std::string_view password, const Nonce& server_nonce,
                        const Nonce& client_nonce);
// HMAC-SHA256(key, label || u16 user length || user || server nonce || client nonce ||
// binding), label "client proof" or "recorder proof".
Mac ClientProof(const LoginKey& key, std::string_view user, const Nonce& server_nonce,
                const Nonce& client_nonce, const ChannelBinding& binding);
Mac RecorderProof(const LoginKey& key, std::string_view user, const Nonce& server_nonce,
                  const Nonce& client_nonce, const ChannelBinding& binding);
// Compares in constant time.
bool SameMac(const Mac& a, const Mac& b);

}  // namespace netproto
