#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "common/Bytes.h"

namespace varnow {

// The tool's decoded copy of the board's settings. Addresses are in network byte order,
// texts are the block's zero-padded bytes. Fields the tool only carries keep their bytes.
struct SettingsStore {
    std::uint16_t carried2_1 = 0;
    Bytes productName;
    std::array<std::uint8_t, 4> ipv4Address{};
    std::array<std::uint8_t, 4> ipv4SubnetMask{};
    std::array<std::uint8_t, 4> ipv4Gateway{};
    std::array<std::uint8_t, 4> ipv4DnsServer{};
    std::array<std::uint8_t, 16> ipv6Address{};
    std::uint16_t ipv6PrefixLength = 0;
    std::array<std::uint8_t, 16> ipv6Gateway{};
    std::array<std::uint8_t, 16> ipv6DnsServer{};
    std::array<std::uint8_t, 10> carried10_0{};
    std::array<std::uint8_t, 10> carried6_0{};
    std::array<std::uint8_t, 10> carried6_1{};
    std::uint32_t networkFlags = 0;
    std::array<std::uint8_t, 48> carried8_3{};
    std::uint32_t wlanWord = 0;
    std::array<std::uint8_t, 32> ssid{};
    std::array<std::uint8_t, 20> wepKeys40{};   // four 5-byte keys
    std::array<std::uint8_t, 52> wepKeys104{};  // four 13-byte keys
    std::array<std::uint8_t, 63> sharedKey{};
    std::array<std::uint8_t, 32> preSharedKey{};
};

// Network flags word bits.
inline constexpr std::uint32_t kFlagDhcp = 0x08;
inline constexpr std::uint32_t kFlagAutoDns = 0x20;
inline constexpr std::uint32_t kFlagWlanEnabled = 0x80;
inline constexpr std::uint32_t kFlagIpv6Enabled = 0x100;
inline constexpr std::uint32_t kFlagIpv6RandomId = 0x600;
inline constexpr std::uint32_t kFlagIpv6Static = 0x1800;

// The received environment block and everything decoded from it.
struct EnvironmentData {
    SettingsStore store;
    Bytes blockCopy;  // the decoded block exactly as received; encoding patches it
    bool wlanPresent = false;
    std::optional<Bytes> dot1xId;        // text area of record 8/4
    std::optional<Bytes> dot1xPassword;  // text area of record 8/5
};

}  // namespace varnow
