#include "certs/TlsObjects.h"

#include <openssl/core_names.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509_vfy.h>
#include <openssl/x509v3.h>

#include "certs/OpenSslHandles.h"

namespace varnow {
namespace ssl {

std::string BioText(BIO* bio, std::size_t limit) {
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio, &data);
    if (size <= 0 || data == nullptr) {
        return {};
    }
    return std::string(data, std::min(static_cast<std::size_t>(size), limit));
}

std::shared_ptr<x509_st> Own(X509* x509) {
    return std::shared_ptr<x509_st>(x509, X509_free);
}

std::shared_ptr<evp_pkey_st> Own(EVP_PKEY* key) {
    return std::shared_ptr<evp_pkey_st>(key, EVP_PKEY_free);
}

void ForgetErrors() {
    ERR_clear_error();
}

}  // namespace ssl

namespace {

struct BnClearFree {
    void operator()(BIGNUM* number) const { BN_clear_free(number); }
};
using SecretNumber = std::unique_ptr<BIGNUM, BnClearFree>;

Cleansed<Bytes> BigEndian(const BIGNUM* number) {
    Bytes bytes(static_cast<std::size_t>(BN_num_bytes(number)));
    BN_bn2bin(number, bytes.data());
    return Cleansed<Bytes>(std::move(bytes));
}

}  // namespace

std::optional<Certificate> Certificate::FromDer(ByteView der) {
    const unsigned char* at = der.data();
    X509* x509 = d2i_X509(nullptr, &at, static_cast<long>(der.size()));
    if (x509 == nullptr) {
        ssl::ForgetErrors();
        return std::nullopt;
    }
    return Certificate(ssl::Own(x509));
}

Bytes Certificate::Der() const {
    unsigned char* der = nullptr;
    const int size = i2d_X509(m_x509.get(), &der);
    if (size <= 0) {
        return {};
    }
    Bytes bytes(der, der + size);
    OPENSSL_free(der);
    return bytes;
}

bool Certificate::BelongsTo(const PrivateKey& key) const {
    EVP_PKEY* mine = X509_get0_pubkey(m_x509.get());
    const bool same = mine != nullptr && key.get() != nullptr && EVP_PKEY_eq(mine, key.get()) == 1;
    ssl::ForgetErrors();
    return same;
}

std::optional<bool> Certificate::SelfSignatureSound() const {
    if (X509_check_issued(m_x509.get(), m_x509.get()) != X509_V_OK) {
        ssl::ForgetErrors();
        return std::nullopt;
    }
    EVP_PKEY* key = X509_get0_pubkey(m_x509.get());
    const bool sound = key != nullptr && X509_verify(m_x509.get(), key) == 1;
    ssl::ForgetErrors();
    return sound;
}

std::string Certificate::Pem() const {
    ssl::BioPtr bio = ssl::WriteBio();
    PEM_write_bio_X509(bio.get(), m_x509.get());
    return ssl::BioText(bio.get());
}

bool PrivateKey::IsRsa() const {
    return EVP_PKEY_is_a(m_key.get(), "RSA") == 1;
}

int PrivateKey::Bits() const {
    return EVP_PKEY_get_bits(m_key.get());
}

std::string PrivateKey::Algorithm() const {
    const char* name = EVP_PKEY_get0_type_name(m_key.get());
    return name != nullptr ? name : "unknown";
}

std::optional<RsaPrimes> PrivateKey::Primes() const {
    if (!IsRsa()) {
        return std::nullopt;
    }
    BIGNUM* p = nullptr;
    BIGNUM* q = nullptr;
    const bool got = EVP_PKEY_get_bn_param(m_key.get(), OSSL_PKEY_PARAM_RSA_FACTOR1, &p) == 1 &&
                     EVP_PKEY_get_bn_param(m_key.get(), OSSL_PKEY_PARAM_RSA_FACTOR2, &q) == 1;
    const SecretNumber ownP(p);
    const SecretNumber ownQ(q);
    if (!got) {
        ssl::ForgetErrors();
        return std::nullopt;
    }
    return RsaPrimes{BigEndian(p), BigEndian(q)};
}

}  // namespace varnow
