#include "crypto/Sha1.h"

#include <algorithm>
#include <bit>

#include "common/Cleanse.h"

namespace varnow {

Sha1::Sha1() : m_state{0x67452301, 0xEFCDAB89, 0x98BADCFE, 0x10325476, 0xC3D2E1F0} {}

Sha1::~Sha1() {
    Cleanse(m_state.data(), sizeof m_state);
    Cleanse(m_buffer.data(), m_buffer.size());
}

void Sha1::Update(ByteView bytes) {
    m_totalBytes += bytes.size();
    std::size_t at = 0;
    if (m_buffered > 0) {
        const std::size_t take = std::min(kBlockSize - m_buffered, bytes.size());
        std::copy_n(bytes.begin(), take, m_buffer.begin() + m_buffered);
        m_buffered += take;
        at = take;
        if (m_buffered < kBlockSize) {
            return;
        }
        Compress(m_buffer.data());
        m_buffered = 0;
    }
    for (; bytes.size() - at >= kBlockSize; at += kBlockSize) {
        Compress(bytes.data() + at);
    }
    std::copy(bytes.begin() + at, bytes.end(), m_buffer.begin());
    m_buffered = bytes.size() - at;
}

Sha1Digest Sha1::Final() {
    const std::uint64_t bitLength = m_totalBytes * 8;
    std::array<std::uint8_t, kBlockSize + 8> padding{};
    padding[0] = 0x80;
    const std::size_t padLength =
        (m_buffered < 56) ? (56 - m_buffered) : (kBlockSize + 56 - m_buffered);
    for (int i = 0; i < 8; ++i) {
        padding[padLength + i] = static_cast<std::uint8_t>(bitLength >> (56 - 8 * i));
    }
    const std::uint64_t total = m_totalBytes;
    Update(ByteView(padding.data(), padLength + 8));
    m_totalBytes = total;

    Sha1Digest digest{};
    for (int i = 0; i < 5; ++i) {
        for (int j = 0; j < 4; ++j) {
            digest[4 * i + j] = static_cast<std::uint8_t>(m_state[i] >> (24 - 8 * j));
        }
    }
    return digest;
}

Sha1Digest Sha1::Of(ByteView bytes) {
    Sha1 sha;
    sha.Update(bytes);
    return sha.Final();
}

void Sha1::Compress(const std::uint8_t* block) {
    std::array<std::uint32_t, 80> w{};
    for (int i = 0; i < 16; ++i) {
        w[i] = (std::uint32_t{block[4 * i]} << 24) | (std::uint32_t{block[4 * i + 1]} << 16) |
               (std::uint32_t{block[4 * i + 2]} << 8) | std::uint32_t{block[4 * i + 3]};
    }
    for (int i = 16; i < 80; ++i) {
        w[i] = std::rotl(w[i - 3] ^ w[i - 8] ^ w[i - 14] ^ w[i - 16], 1);
    }
    auto [a, b, c, d, e] = m_state;
    for (int i = 0; i < 80; ++i) {
        std::uint32_t f = 0;
        std::uint32_t k = 0;
        if (i < 20) {
            f = (b & c) | (~b & d);
            k = 0x5A827999;
        } else if (i < 40) {
            f = b ^ c ^ d;
            k = 0x6ED9EBA1;
        } else if (i < 60) {
            f = (b & c) | (b & d) | (c & d);
            k = 0x8F1BBCDC;
        } else {
            f = b ^ c ^ d;
            k = 0xCA62C1D6;
        }
        const std::uint32_t next = std::rotl(a, 5) + f + e + k + w[i];
        e = d;
        d = c;
        c = std::rotl(b, 30);
        b = a;
        a = next;
    }
    m_state[0] += a;
    m_state[1] += b;
    m_state[2] += c;
    m_state[3] += d;
    m_state[4] += e;
}

}  // namespace varnow
