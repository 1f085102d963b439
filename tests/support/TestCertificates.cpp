#include "support/TestCertificates.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/pkcs12.h>
#include <openssl/provider.h>
#include <openssl/x509.h>

#include <stdexcept>

namespace varnow::testing {
namespace {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

template <typename Write>
std::string Written(Write write) {
    BioPtr bio(BIO_new(BIO_s_mem()));
    if (!write(bio.get())) {
        throw std::runtime_error("a test file could not be written");
    }
    char* data = nullptr;
    const long size = BIO_get_mem_data(bio.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

Bytes BytesOf(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

PrivateKey Owned(EVP_PKEY* key) {
    if (key == nullptr) {
        throw std::runtime_error("no test key");
    }
    return PrivateKey(std::shared_ptr<evp_pkey_st>(key, EVP_PKEY_free));
}

}  // namespace

PrivateKey NewRsaKey(int bits) {
    return Owned(EVP_PKEY_Q_keygen(nullptr, nullptr, "RSA", static_cast<std::size_t>(bits)));
}

PrivateKey NewEcKey() {
    return Owned(EVP_EC_gen("P-256"));
}

Certificate NewCertificate(const PrivateKey& key, const std::vector<NameEntry>& name,
                           std::time_t notAfter) {  // by value: the library takes a pointer
    std::shared_ptr<x509_st> x509(X509_new(), X509_free);
    X509_set_version(x509.get(), X509_VERSION_3);
    ASN1_INTEGER_set(X509_get_serialNumber(x509.get()), 7);
    std::time_t now = std::time(nullptr);
    X509_time_adj_ex(X509_getm_notBefore(x509.get()), 0, 0, &now);
    X509_time_adj_ex(X509_getm_notAfter(x509.get()), 0, 0, &notAfter);
    X509_set_pubkey(x509.get(), key.get());
    X509_NAME* subject = X509_get_subject_name(x509.get());
    for (const auto& entry : name) {
        X509_NAME_add_entry_by_txt(subject, entry.attribute.c_str(), MBSTRING_UTF8,
                                   reinterpret_cast<const unsigned char*>(entry.value.c_str()), -1,
                                   -1, 0);
    }
    X509_set_issuer_name(x509.get(), subject);
    if (X509_sign(x509.get(), key.get(), EVP_sha256()) <= 0) {
        throw std::runtime_error("a test certificate could not be signed");
    }
    return Certificate(std::move(x509));
}

Bytes DerOf(const Certificate& certificate) {
    return BytesOf(Written([&](BIO* bio) { return i2d_X509_bio(bio, certificate.get()) == 1; }));
}

Bytes DerOf(const PrivateKey& key) {
    return BytesOf(Written([&](BIO* bio) {
        return i2d_PKCS8PrivateKey_bio(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr) == 1;
    }));
}

std::string PemOf(const Certificate& certificate, const std::string& password) {
    return Written([&](BIO* bio) {
        if (password.empty()) {
            return PEM_write_bio_X509(bio, certificate.get()) == 1;
        }
        // A certificate block with the traditional encryption headers.
        auto* pass = reinterpret_cast<unsigned char*>(const_cast<char*>(password.c_str()));
        return PEM_ASN1_write_bio(reinterpret_cast<i2d_of_void*>(i2d_X509), PEM_STRING_X509, bio,
                                  certificate.get(), EVP_aes_128_cbc(), pass,
                                  static_cast<int>(password.size()), nullptr, nullptr) == 1;
    });
}

std::string PemOf(const PrivateKey& key, const std::string& password) {
    return Written([&](BIO* bio) {
        const EVP_CIPHER* cipher = password.empty() ? nullptr : EVP_aes_128_cbc();
        return PEM_write_bio_PKCS8PrivateKey(bio, key.get(), cipher, password.c_str(),
                                             static_cast<int>(password.size()), nullptr,
                                             nullptr) == 1;
    });
}

Bytes Pkcs12Of(const PrivateKey* key, const Certificate* certificate, const std::string& password,
               bool legacy) {
    const int keyCipher = legacy ? NID_pbe_WithSHA1And3_Key_TripleDES_CBC : 0;
    const int certificateCipher = legacy ? NID_pbe_WithSHA1And40BitRC2_CBC : 0;
    std::unique_ptr<PKCS12, decltype(&PKCS12_free)> pkcs12(
        PKCS12_create(password.c_str(), "test", key ? key->get() : nullptr,
                      certificate ? certificate->get() : nullptr, nullptr, keyCipher,
                      certificateCipher, 0, 0, 0),
        PKCS12_free);
    if (!pkcs12) {
        throw std::runtime_error("a test PKCS#12 file could not be made");
    }
    return BytesOf(Written([&](BIO* bio) { return i2d_PKCS12_bio(bio, pkcs12.get()) == 1; }));
}

bool LegacyCiphersAvailable() {
    return OSSL_PROVIDER_available(nullptr, "legacy") == 1 ||
           OSSL_PROVIDER_try_load(nullptr, "legacy", 1) != nullptr;
}

}  // namespace varnow::testing
