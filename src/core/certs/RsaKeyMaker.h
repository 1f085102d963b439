#pragma once

#include <optional>

#include "certs/TlsObjects.h"

namespace varnow {

// The key lengths the board's key record holds (primes of at most 128 bytes).
inline constexpr int kRsaKeyBits[] = {1024, 1536, 2048};

// A new RSA key of `bits` bits with the public exponent 65537. Takes seconds for 2048 bits:
// hosts run it off their user interface thread. Nullopt when the library fails.
std::optional<PrivateKey> GenerateRsaKey(int bits);

}  // namespace varnow
