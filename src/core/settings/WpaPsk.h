#pragma once

#include <array>
#include <cstdint>

#include "common/Bytes.h"

namespace varnow {

using PreSharedKey = std::array<std::uint8_t, 32>;

// The IEEE 802.11i passphrase-to-PSK mapping: PBKDF2-HMAC-SHA1 of the shared key text (up to
// its first NUL, at most 63 bytes) salted with the SSID (up to its first NUL, at most 32
// bytes), 4096 iterations, 32 bytes. An empty shared key still gives a key.
PreSharedKey DerivePsk(ByteView sharedKey, ByteView ssid);

}  // namespace varnow
