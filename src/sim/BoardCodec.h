#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace varnow::sim {

// The simulated board's own codecs, written apart from the tool's (on OpenSSL where it has
// them), so that a fault in the tool's encoder or password code cannot agree with itself.
namespace codec {

using Bytes = std::vector<std::uint8_t>;

// Base64 in lines of at most 64 characters, as the board sends bulk replies.
std::vector<std::string> EncodeBase64Lines(const Bytes& bytes);
// Base64 text with line breaks anywhere between groups; nullopt-like empty result and false
// when the text is not Base64.
bool DecodeBase64(std::string_view text, Bytes& out);

// 40 lower-case hexadecimal digits.
std::string Sha1Hex(const std::uint8_t* data, std::size_t size);

// CRC-16/AUG-CCITT, computed the augmented way: register 0xFFFF, the message followed by 16
// zero bits, polynomial 0x1021.
std::uint16_t Crc16(const std::uint8_t* data, std::size_t size);

// The admin key of a password: PBKDF2-HMAC-SHA1, 4096 iterations, 32 bytes, salted with the
// MCU identity's bytes zero-padded to 20.
Bytes AdminKey(std::string_view password, std::string_view mcuIdHex);

// What the tool must answer to a challenge: SHA-1 of the challenge and the admin key, in hex.
std::string LoginAnswer(const Bytes& challenge, const Bytes& adminKey);

std::string ToHex(const Bytes& bytes);

}  // namespace codec
}  // namespace varnow::sim
