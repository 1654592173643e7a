#include "platform/netctrl/protocol/LoginMac.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <algorithm>
#include <stdexcept>

namespace netproto {

Nonce RandomNonce() {
    Nonce nonce{};
    if (RAND_bytes(nonce.data(), static_cast<int>(nonce.size())) != 1) {
        throw std::runtime_error("no random bytes for a login nonce");
    }
    return nonce;
}

Mac ComputeLoginMac(std::string_view password, const Nonce& server_nonce,
                    const Nonce& client_nonce) {
    uint8_t data[2 * kNonceBytes];
    std::copy(server_nonce.begin(), server_nonce.end(), data);
    std::copy(client_nonce.begin(), client_nonce.end(), data + kNonceBytes);
    Mac mac{};
    unsigned int mac_bytes = 0;
    // A zero-length key is valid HMAC; OpenSSL wants a non-null pointer for it.
    static const char kEmpty = 0;
    HMAC(EVP_sha256(), password.empty() ? &kEmpty : password.data(),
         static_cast<int>(password.size()), data, sizeof data, mac.data(), &mac_bytes);
    return mac;
}

bool CheckLoginMac(std::string_view password, const Nonce& server_nonce, const Nonce& client_nonce,
                   const Mac& mac) {
    const Mac expected = ComputeLoginMac(password, server_nonce, client_nonce);
    return CRYPTO_memcmp(expected.data(), mac.data(), kMacBytes) == 0;
}

}  // namespace netproto
