#pragma once

#include <cstddef>

#include "common/Bytes.h"

namespace varnow {

// PBKDF2 (RFC 2898) with HMAC-SHA1 as the pseudo-random function.
Bytes Pbkdf2HmacSha1(ByteView password, ByteView salt, unsigned iterations, std::size_t length);

}  // namespace varnow
