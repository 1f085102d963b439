#pragma once

#include <array>
#include <cstdint>

#include "common/Bytes.h"

namespace varnow {

using Sha1Digest = std::array<std::uint8_t, 20>;

// SHA-1 as specified in FIPS 180, computed here rather than by a library so that the image
// hash, the login answer and the key derivations do not depend on what the host provides.
class Sha1 {
public:
    static constexpr std::size_t kBlockSize = 64;

    Sha1();
    // A hash's state can be rebuilt into what was hashed (an HMAC key pad): wiped on the way out.
    ~Sha1();
    Sha1(const Sha1&) = default;
    Sha1& operator=(const Sha1&) = default;
    void Update(ByteView bytes);
    Sha1Digest Final();

    static Sha1Digest Of(ByteView bytes);

private:
    void Compress(const std::uint8_t* block);

    std::array<std::uint32_t, 5> m_state;
    std::array<std::uint8_t, kBlockSize> m_buffer{};
    std::size_t m_buffered = 0;
    std::uint64_t m_totalBytes = 0;
};

}  // namespace varnow
