#pragma once

#include <string_view>

#include "platform/netctrl/protocol/Messages.h"

// The password never crosses the network: the client proves it knows it with
// HMAC-SHA256(password, server nonce || client nonce).
namespace netproto {

Nonce RandomNonce();
Mac ComputeLoginMac(std::string_view password, const Nonce& server_nonce,
                    const Nonce& client_nonce);
// Compares in constant time.
bool CheckLoginMac(std::string_view password, const Nonce& server_nonce, const Nonce& client_nonce,
                   const Mac& mac);

}  // namespace netproto
