#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/Bytes.h"

namespace varnow {

using Ipv4Address = std::array<std::uint8_t, 4>;   // network byte order
using Ipv6Address = std::array<std::uint8_t, 16>;  // eight groups, network byte order

// One host's address: not 0.0.0.0, not the broadcast address, not multicast (224/4).
bool IsHostAddress(const Ipv4Address& address);

// A subnet mask: ones first, then zeros, without a gap.
bool IsContiguousMask(const Ipv4Address& mask);

// "192.168.0.10": also the common name of a board's own certificate.
std::string DottedQuad(const Ipv4Address& address);

// Accepts only the characters 0-9 A-F a-f and ":"; eight groups, or fewer with one "::" that
// stands for at least one zero group. A group keeps the low 16 bits of its number.
std::optional<Ipv6Address> ParseIpv6Text(std::string_view text);

// Upper-case groups without leading zeros; the first run of zero groups becomes "::".
std::string FormatIpv6Text(const Ipv6Address& address);

// Byte i from characters 2i and 2i+1, for as many bytes as `output` holds and the text has
// whole pairs; bytes beyond the pairs present are left as they are. Never fails: a pair that
// does not start with a hexadecimal digit gives 0.
void HexTextToBytes(std::string_view text, std::span<std::uint8_t> output);

// One byte for every whole pair of characters, converted as by HexTextToBytes.
Bytes HexPairsToBytes(std::string_view text);

}  // namespace varnow
