#pragma once

#include <memory>
#include <optional>
#include <string>

#include "common/Bytes.h"
#include "common/Cleansed.h"

// The library's own object types, declared only: nothing outside certs/ reaches into them.
struct x509_st;
struct evp_pkey_st;

namespace varnow {

class PrivateKey;

// An X.509 certificate. Copies share the one object.
class Certificate {
public:
    explicit Certificate(std::shared_ptr<x509_st> x509) : m_x509(std::move(x509)) {}

    // Nullopt when the bytes do not hold one DER certificate (bytes after it are ignored, as
    // the padding of the board's certificate record).
    static std::optional<Certificate> FromDer(ByteView der);

    Bytes Der() const;
    std::string Pem() const;
    // Whether `key` is the private key of this certificate's public key.
    bool BelongsTo(const PrivateKey& key) const;
    // A certificate that names itself its issuer: whether its signature is its own key's
    // over its contents. Nullopt for one signed by another (nothing to check it with here).
    std::optional<bool> SelfSignatureSound() const;

    x509_st* get() const { return m_x509.get(); }

private:
    std::shared_ptr<x509_st> m_x509;
};

// The two primes of an RSA private key, big-endian, without leading zeros.
struct RsaPrimes {
    Cleansed<Bytes> p;
    Cleansed<Bytes> q;
};

// A private key; freeing it clears its key material.
class PrivateKey {
public:
    explicit PrivateKey(std::shared_ptr<evp_pkey_st> key) : m_key(std::move(key)) {}

    bool IsRsa() const;
    int Bits() const;
    // The algorithm's short name ("RSA", "EC", ...).
    std::string Algorithm() const;
    // Nullopt for a key that is not RSA, or one without its primes.
    std::optional<RsaPrimes> Primes() const;

    evp_pkey_st* get() const { return m_key.get(); }

private:
    std::shared_ptr<evp_pkey_st> m_key;
};

// A certificate with its private key: what the board needs as its TLS identity.
struct TlsIdentity {
    Certificate certificate;
    PrivateKey key;
};

}  // namespace varnow
