#pragma once

#include "common/Bytes.h"
#include "crypto/Sha1.h"

namespace varnow {

// HMAC-SHA1 (RFC 2104). The keyed inner and outer states are prepared once, so that PBKDF2's
// thousands of rounds with one key cost two compressions each.
class HmacSha1 {
public:
    explicit HmacSha1(ByteView key);
    Sha1Digest Of(ByteView message) const;

private:
    Sha1 m_inner;
    Sha1 m_outer;
};

}  // namespace varnow
