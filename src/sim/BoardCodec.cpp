#include "BoardCodec.h"

#include <openssl/evp.h>
#include <openssl/sha.h>

#include <cctype>

namespace varnow::sim::codec {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::vector<std::string> EncodeBase64Lines(const Bytes& bytes) {
    std::vector<std::string> lines;
    constexpr std::size_t kLineBytes = 48;  // 64 characters
    for (std::size_t at = 0; at < bytes.size(); at += kLineBytes) {
        const std::size_t count = std::min(kLineBytes, bytes.size() - at);
        std::string line(4 * ((count + 2) / 3), '\0');
        EVP_EncodeBlock(reinterpret_cast<unsigned char*>(line.data()), bytes.data() + at,
                        static_cast<int>(count));
        lines.push_back(std::move(line));
    }
    return lines;
}

bool DecodeBase64(std::string_view text, Bytes& out) {
    std::string compact;
    for (char c : text) {
        if (c != '\r' && c != '\n') {
            compact.push_back(c);
        }
    }
    out.clear();
    if (compact.size() % 4 != 0) {
        return false;
    }
    out.resize(compact.size() / 4 * 3);
    const int decoded =
        EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char*>(compact.data()),
                        static_cast<int>(compact.size()));
    if (decoded < 0) {
        out.clear();
        return false;
    }
    // EVP_DecodeBlock keeps the zero bytes that the padding stands for.
    std::size_t padding = 0;
    while (padding < 2 && padding < compact.size() &&
           compact[compact.size() - 1 - padding] == '=') {
        ++padding;
    }
    out.resize(static_cast<std::size_t>(decoded) - padding);
    return true;
}

std::string Sha1Hex(const std::uint8_t* data, std::size_t size) {
    Bytes digest(SHA_DIGEST_LENGTH);
    unsigned int length = 0;
    EVP_Digest(data, size, digest.data(), &length, EVP_sha1(), nullptr);
    return ToHex(digest);
}

std::uint16_t Crc16(const std::uint8_t* data, std::size_t size) {
    std::uint32_t reg = 0xFFFF;
    auto shiftIn = [&reg](int bit) {
        const bool top = (reg & 0x8000) != 0;
        reg = ((reg << 1) | static_cast<std::uint32_t>(bit)) & 0xFFFF;
        if (top) {
            reg ^= 0x1021;
        }
    };
    for (std::size_t i = 0; i < size; ++i) {
        for (int b = 7; b >= 0; --b) {
            shiftIn((data[i] >> b) & 1);
        }
    }
    for (int b = 0; b < 16; ++b) {
        shiftIn(0);
    }
    return static_cast<std::uint16_t>(reg);
}

Bytes AdminKey(std::string_view password, std::string_view mcuIdHex) {
    Bytes salt;
    for (std::size_t i = 0; i + 1 < mcuIdHex.size(); i += 2) {
        const int high = HexValue(mcuIdHex[i]);
        const int low = HexValue(mcuIdHex[i + 1]);
        if (high < 0 || low < 0) {
            break;
        }
        salt.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    if (salt.size() < 20) {
        salt.resize(20, 0);
    }
    Bytes key(32);
    PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()), salt.data(),
                      static_cast<int>(salt.size()), 4096, EVP_sha1(), static_cast<int>(key.size()),
                      key.data());
    return key;
}

std::string LoginAnswer(const Bytes& challenge, const Bytes& adminKey) {
    Bytes message = challenge;
    message.insert(message.end(), adminKey.begin(), adminKey.end());
    return Sha1Hex(message.data(), message.size());
}

std::string ToHex(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

}  // namespace varnow::sim::codec
