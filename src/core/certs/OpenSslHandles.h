#pragma once

// Only for the files of certs/: the one place that includes the library's headers.
#include <openssl/bio.h>
#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

#include "common/Bytes.h"

namespace varnow::ssl {

struct BioFree {
    void operator()(BIO* bio) const { BIO_free(bio); }
};
using BioPtr = std::unique_ptr<BIO, BioFree>;

// A read-only memory BIO over bytes that outlive it.
inline BioPtr ReadBio(ByteView bytes) {
    return BioPtr(BIO_new_mem_buf(bytes.data(), static_cast<int>(bytes.size())));
}
inline BioPtr WriteBio() {
    return BioPtr(BIO_new(BIO_s_mem()));
}
// What was printed into a memory BIO, at most `limit` bytes.
std::string BioText(BIO* bio, std::size_t limit = 1u << 20);

std::shared_ptr<x509_st> Own(X509* x509);
std::shared_ptr<evp_pkey_st> Own(EVP_PKEY* key);

// Drops what the library left on its error queue: its failures are told as our outcomes.
void ForgetErrors();

}  // namespace varnow::ssl
