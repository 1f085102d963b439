#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "certs/TlsObjects.h"

namespace varnow::testing {

// Keys, certificates and their files, made for the tests with the library's own writers.
PrivateKey NewRsaKey(int bits);
PrivateKey NewEcKey();

struct NameEntry {
    std::string attribute;  // "C", "O", "CN", ...
    std::string value;
};
// A certificate for `key`, signed by itself, valid until `notAfter`.
Certificate NewCertificate(const PrivateKey& key, const std::vector<NameEntry>& name,
                           std::time_t notAfter);

Bytes DerOf(const Certificate& certificate);
Bytes DerOf(const PrivateKey& key);  // PKCS#8
// PEM, encrypted with AES-128-CBC under `password` when one is given.
std::string PemOf(const Certificate& certificate, const std::string& password = {});
std::string PemOf(const PrivateKey& key, const std::string& password = {});
// PKCS#12 with whichever of key and certificate is given; `legacy`: RC2 and 3DES as older
// tools wrote it.
Bytes Pkcs12Of(const PrivateKey* key, const Certificate* certificate, const std::string& password,
               bool legacy = false);

// Whether the library can read PKCS#12 files of the old ciphers here.
bool LegacyCiphersAvailable();

}  // namespace varnow::testing
