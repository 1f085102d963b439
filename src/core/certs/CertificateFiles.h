#pragma once

#include <functional>
#include <optional>
#include <string>

#include "certs/TlsObjects.h"

namespace varnow {

// Asked for a password each time an encrypted file needs one; nullopt: the user cancelled.
using PasswordSource = std::function<std::optional<std::string>()>;

// Readers of certificate and key files, each over the whole file's bytes.
std::optional<Certificate> ReadDerCertificate(ByteView file);
std::optional<Certificate> ReadPemCertificate(ByteView file, const PasswordSource& password);
std::optional<PrivateKey> ReadDerPrivateKey(ByteView file);
std::optional<PrivateKey> ReadPemPrivateKey(ByteView file, const PasswordSource& password);

// A PKCS#12 file opened with its password: whether it could be read at all, and what it held.
struct Pkcs12Contents {
    bool parsed = false;  // false: not PKCS#12, or the password is wrong
    std::optional<Certificate> certificate;
    std::optional<PrivateKey> key;
};
Pkcs12Contents ReadPkcs12(ByteView file, const std::string& password);

// Whether the file is a PKCS#12 structure (whatever its password), and whether a PEM file holds
// an encrypted private key: only those are worth a password question.
bool IsPkcs12(ByteView file);
bool HoldsEncryptedPemKey(ByteView file);

}  // namespace varnow
