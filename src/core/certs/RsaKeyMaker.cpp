#include "certs/RsaKeyMaker.h"

#include <openssl/bn.h>
#include <openssl/rsa.h>

#include "certs/OpenSslHandles.h"

namespace varnow {

std::optional<PrivateKey> GenerateRsaKey(int bits) {
    std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> context(
        EVP_PKEY_CTX_new_from_name(nullptr, "RSA", nullptr), EVP_PKEY_CTX_free);
    std::unique_ptr<BIGNUM, decltype(&BN_free)> exponent(BN_new(), BN_free);
    EVP_PKEY* key = nullptr;
    const bool made = context && exponent && BN_set_word(exponent.get(), RSA_F4) == 1 &&
                      EVP_PKEY_keygen_init(context.get()) == 1 &&
                      EVP_PKEY_CTX_set_rsa_keygen_bits(context.get(), bits) == 1 &&
                      EVP_PKEY_CTX_set1_rsa_keygen_pubexp(context.get(), exponent.get()) == 1 &&
                      EVP_PKEY_generate(context.get(), &key) == 1;
    if (!made) {
        EVP_PKEY_free(key);
        ssl::ForgetErrors();
        return std::nullopt;
    }
    return PrivateKey(ssl::Own(key));
}

}  // namespace varnow
