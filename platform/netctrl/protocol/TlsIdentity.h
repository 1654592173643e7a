#pragma once

#include <filesystem>
#include <memory>
#include <string>

struct ssl_ctx_st;  // OpenSSL's SSL_CTX

// A recorder's own key (Ed25519) and the TLS context that serves with it. The certificate is
// made from the key at every start and signed by the key itself: clients know no authority and
// need none, since the log-in proofs cover the connection (docs/protocol.md).
namespace netproto {

class TlsIdentity {
public:
    ~TlsIdentity();
    TlsIdentity(const TlsIdentity&) = delete;
    TlsIdentity& operator=(const TlsIdentity&) = delete;

    // A fresh key held in memory only.
    static std::unique_ptr<TlsIdentity> Generate(std::string* error);
    // The key in the PEM file at path; when no file is there, a new key is made and kept there
    // (owner-only, folders created). A file that holds no usable key is an error, not replaced.
    static std::unique_ptr<TlsIdentity> LoadOrCreate(const std::filesystem::path& path,
                                                     std::string* error);

    ssl_ctx_st* Context() const { return context_; }

private:
    explicit TlsIdentity(ssl_ctx_st* context) : context_(context) {}
    ssl_ctx_st* context_;
};

}  // namespace netproto
