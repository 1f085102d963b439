#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Bytes.h"
#include "crypto/Sha1.h"

namespace varnow {

using AdminKey = std::array<std::uint8_t, 32>;
using PasswordRecord = std::array<std::uint8_t, 38>;
using LoginChallenge = std::array<std::uint8_t, 16>;

// The salt of the admin key: the MCU identity's bytes (its hexadecimal pairs), zero-padded to
// 20 bytes when shorter. Setting a password and logging in use this one salt, so that a
// password set by the tool always works for the login, whatever length of identity the
// board reports.
Bytes AdminKeySalt(std::string_view mcuIdLine);

// PBKDF2-HMAC-SHA1 of the password (at most 32 bytes, up to its first NUL), 4096 iterations.
AdminKey DeriveAdminKey(std::string_view password, ByteView salt);

// The 38-byte record handed to the board: set (flag 1, key CRC, key) or delete (all zero),
// with the CRC of bytes 0..35 at the end.
PasswordRecord MakeSetPasswordRecord(const AdminKey& key);
PasswordRecord MakeDeletePasswordRecord();

// "reboot psk 10 " + the record as 76 lower-case hexadecimal digits + CR (91 characters).
std::string PasswordCommand(const PasswordRecord& record);

// The 16 challenge bytes from a "413 ..." line: the text after its first space (the whole
// line without one), byte i from the pair at 2i; missing or non-hexadecimal pairs give 0.
LoginChallenge ParseChallenge(std::string_view challengeLine);

// SHA-1 over the challenge followed by the admin key.
Sha1Digest LoginDigest(const LoginChallenge& challenge, const AdminKey& key);

// "auth hash " + the digest as 40 lower-case hexadecimal digits + CR (51 characters).
std::string AuthHashCommand(const Sha1Digest& digest);

}  // namespace varnow
