#include "platform/netctrl/protocol/LoginMac.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/rand.h>

#include <stdexcept>
#include <vector>

namespace netproto {
namespace {

constexpr std::string_view kSaltLabel = "recorder login";
constexpr std::string_view kClientLabel = "client proof";
constexpr std::string_view kRecorderLabel = "recorder proof";

Mac Proof(std::string_view label, const LoginKey& key, std::string_view user,
          const Nonce& server_nonce, const Nonce& client_nonce, const ChannelBinding& binding) {
    std::vector<uint8_t> data(label.begin(), label.end());
    data.push_back(static_cast<uint8_t>(user.size() & 0xff));
    data.push_back(static_cast<uint8_t>(user.size() >> 8 & 0xff));
    data.insert(data.end(), user.begin(), user.end());
    data.insert(data.end(), server_nonce.begin(), server_nonce.end());
    data.insert(data.end(), client_nonce.begin(), client_nonce.end());
    data.insert(data.end(), binding.begin(), binding.end());
    Mac mac{};
    unsigned int mac_bytes = 0;
    HMAC(EVP_sha256(), key.data(), static_cast<int>(key.size()), data.data(), data.size(),
         mac.data(), &mac_bytes);
    return mac;
}

}  // namespace

Nonce RandomNonce() {
    Nonce nonce{};
    if (RAND_bytes(nonce.data(), static_cast<int>(nonce.size())) != 1) {
        throw std::runtime_error("no random bytes for a login nonce");
    }
    return nonce;
}

LoginKey DeriveLoginKey(std::string_view password, const Nonce& server_nonce,
                        const Nonce& client_nonce) {
    std::vector<uint8_t> salt(kSaltLabel.begin(), kSaltLabel.end());
    salt.insert(salt.end(), server_nonce.begin(), server_nonce.end());
    salt.insert(salt.end(), client_nonce.begin(), client_nonce.end());
    LoginKey key{};
    // An empty password is a valid one; OpenSSL wants a non-null pointer for it.
    static const char kEmpty = 0;
    if (PKCS5_PBKDF2_HMAC(password.empty() ? &kEmpty : password.data(),
                          static_cast<int>(password.size()), salt.data(),
                          static_cast<int>(salt.size()), kLoginKeyRounds, EVP_sha256(),
                          static_cast<int>(key.size()), key.data()) != 1) {
        throw std::runtime_error("the log-in key cannot be derived");
    }
    return key;
}

Mac ClientProof(const LoginKey& key, std::string_view user, const Nonce& server_nonce,
                const Nonce& client_nonce, const ChannelBinding& binding) {
    return Proof(kClientLabel, key, user, server_nonce, client_nonce, binding);
}

Mac RecorderProof(const LoginKey& key, std::string_view user, const Nonce& server_nonce,
                  const Nonce& client_nonce, const ChannelBinding& binding) {
    return Proof(kRecorderLabel, key, user, server_nonce, client_nonce, binding);
}

bool SameMac(const Mac& a, const Mac& b) {
    return CRYPTO_memcmp(a.data(), b.data(), a.size()) == 0;
}

}  // namespace netproto
