#include "crypto/Pbkdf2.h"

#include <algorithm>

#include "common/Cleanse.h"
#include "crypto/HmacSha1.h"

namespace varnow {

Bytes Pbkdf2HmacSha1(ByteView password, ByteView salt, unsigned iterations, std::size_t length) {
    const HmacSha1 prf(password);
    Bytes output;
    output.reserve(length);
    Bytes firstMessage(salt.begin(), salt.end());
    firstMessage.resize(salt.size() + 4);
    for (std::uint32_t blockIndex = 1; output.size() < length; ++blockIndex) {
        for (int i = 0; i < 4; ++i) {
            firstMessage[salt.size() + i] = static_cast<std::uint8_t>(blockIndex >> (24 - 8 * i));
        }
        Sha1Digest u = prf.Of(firstMessage);
        Sha1Digest block = u;
        for (unsigned round = 1; round < iterations; ++round) {
            u = prf.Of(u);
            for (std::size_t i = 0; i < block.size(); ++i) {
                block[i] ^= u[i];
            }
        }
        const std::size_t take = std::min(block.size(), length - output.size());
        output.insert(output.end(), block.begin(), block.begin() + take);
        // The rounds' work is as secret as the key it adds up to.
        Cleanse(u.data(), u.size());
        Cleanse(block.data(), block.size());
    }
    return output;
}

}  // namespace varnow
