#include "crypto/HmacSha1.h"

#include <algorithm>
#include <array>

#include "common/Cleanse.h"

namespace varnow {

HmacSha1::HmacSha1(ByteView key) {
    std::array<std::uint8_t, Sha1::kBlockSize> block{};
    if (key.size() > block.size()) {
        const Sha1Digest hashed = Sha1::Of(key);
        std::copy(hashed.begin(), hashed.end(), block.begin());
    } else {
        std::copy(key.begin(), key.end(), block.begin());
    }
    std::array<std::uint8_t, Sha1::kBlockSize> pad{};
    for (std::size_t i = 0; i < block.size(); ++i) {
        pad[i] = static_cast<std::uint8_t>(block[i] ^ 0x36);
    }
    m_inner.Update(pad);
    for (std::size_t i = 0; i < block.size(); ++i) {
        pad[i] = static_cast<std::uint8_t>(block[i] ^ 0x5C);
    }
    m_outer.Update(pad);
    Cleanse(block.data(), block.size());
    Cleanse(pad.data(), pad.size());
}

Sha1Digest HmacSha1::Of(ByteView message) const {
    Sha1 inner = m_inner;
    inner.Update(message);
    Sha1Digest innerDigest = inner.Final();
    Sha1 outer = m_outer;
    outer.Update(innerDigest);
    Cleanse(innerDigest.data(), innerDigest.size());
    return outer.Final();
}

}  // namespace varnow
