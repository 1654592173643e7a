#include "platform/netctrl/protocol/TlsIdentity.h"

#include <fcntl.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace netproto {
namespace {

std::string OpenSslError(const std::string& what) {
    const unsigned long code = ERR_get_error();
    ERR_clear_error();
    if (code == 0) return what;
    char text[256];
    ERR_error_string_n(code, text, sizeof text);
    return what + " (" + text + ")";
}

struct KeyFree {
    void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, KeyFree>;

KeyPtr NewKey() { return KeyPtr(EVP_PKEY_Q_keygen(nullptr, nullptr, "ED25519")); }

// A self-signed certificate for key: TLS wants one, nobody checks it against an authority.
X509* SelfSigned(EVP_PKEY* key) {
    X509* cert = X509_new();
    if (cert == nullptr) return nullptr;
    X509_set_version(cert, 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert), -24L * 3600);
    X509_gmtime_adj(X509_getm_notAfter(cert), 100L * 365 * 24 * 3600);
    X509_NAME* name = X509_get_subject_name(cert);
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("recorder"), -1, -1, 0);
    X509_set_issuer_name(cert, name);
    if (X509_set_pubkey(cert, key) != 1 || X509_sign(cert, key, nullptr) <= 0) {
        X509_free(cert);
        return nullptr;
    }
    return cert;
}

SSL_CTX* ServerContext(EVP_PKEY* key, std::string* error) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    X509* cert = context ? SelfSigned(key) : nullptr;
    const bool ready =
        cert != nullptr && SSL_CTX_set_min_proto_version(context, TLS1_3_VERSION) == 1 &&
        SSL_CTX_use_certificate(context, cert) == 1 && SSL_CTX_use_PrivateKey(context, key) == 1 &&
        SSL_CTX_check_private_key(context) == 1 &&
        // Every log-in is a full handshake: no tickets after it.
        SSL_CTX_set_num_tickets(context, 0) == 1;
    X509_free(cert);
    if (!ready) {
        *error = OpenSslError("cannot set up TLS with the recorder key");
        SSL_CTX_free(context);
        return nullptr;
    }
    SSL_CTX_set_mode(context, SSL_MODE_ENABLE_PARTIAL_WRITE | SSL_MODE_ACCEPT_MOVING_WRITE_BUFFER);
    SSL_CTX_set_options(context, SSL_OP_IGNORE_UNEXPECTED_EOF);
    return context;
}

bool WriteKey(const std::filesystem::path& path, EVP_PKEY* key, std::string* error) {
    std::error_code ec;
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    // Written aside and renamed, so a reader never sees half a key.
    const std::filesystem::path partial = path.string() + ".new";
    const int fd = ::open(partial.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = "cannot write the recorder key " + partial.string() + ": " + std::strerror(errno);
        return false;
    }
    std::FILE* file = ::fdopen(fd, "w");
    if (file == nullptr) {
        ::close(fd);
        *error = "cannot write the recorder key " + partial.string();
        return false;
    }
    const bool written =
        PEM_write_PrivateKey(file, key, nullptr, nullptr, 0, nullptr, nullptr) == 1;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::filesystem::remove(partial, ec);
        *error = OpenSslError("cannot write the recorder key " + partial.string());
        return false;
    }
    std::filesystem::rename(partial, path, ec);
    if (ec) {
        std::filesystem::remove(partial, ec);
        *error = "cannot keep the recorder key at " + path.string();
        return false;
    }
    return true;
}

}  // namespace

TlsIdentity::~TlsIdentity() { SSL_CTX_free(context_); }

std::unique_ptr<TlsIdentity> TlsIdentity::Generate(std::string* error) {
    const KeyPtr key = NewKey();
    if (!key) {
        *error = OpenSslError("cannot make a recorder key");
        return nullptr;
    }
    SSL_CTX* context = ServerContext(key.get(), error);
    return context ? std::unique_ptr<TlsIdentity>(new TlsIdentity(context)) : nullptr;
}

std::unique_ptr<TlsIdentity> TlsIdentity::LoadOrCreate(const std::filesystem::path& path,
                                                       std::string* error) {
    KeyPtr key;
    std::FILE* file = std::fopen(path.c_str(), "re");
    if (file != nullptr) {
        key.reset(PEM_read_PrivateKey(file, nullptr, nullptr, nullptr));
        std::fclose(file);
        if (!key) {
            *error = OpenSslError("the recorder key " + path.string() + " holds no usable key");
            return nullptr;
        }
    } else if (errno == ENOENT) {
        key = NewKey();
        if (!key) {
            *error = OpenSslError("cannot make a recorder key");
            return nullptr;
        }
        if (!WriteKey(path, key.get(), error)) return nullptr;
    } else {
        *error = "cannot read the recorder key " + path.string() + ": " + std::strerror(errno);
        return nullptr;
    }
    SSL_CTX* context = ServerContext(key.get(), error);
    return context ? std::unique_ptr<TlsIdentity>(new TlsIdentity(context)) : nullptr;
}

}  // namespace netproto
