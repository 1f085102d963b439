#include "settings/AddressText.h"

#include <algorithm>

namespace varnow {
namespace {

constexpr std::string_view kIpv6Characters = "0123456789ABCDEFabcdef:";

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Parses the groups of one half (or of a whole text without "::") into `groups` from `first`.
// The caller has checked that the half's group count fits.
void ParseGroups(std::string_view half, Ipv6Address& address, std::size_t first) {
    std::size_t at = 0;
    for (std::size_t group = first;; ++group) {
        std::uint32_t value = 0;
        for (; at < half.size() && HexDigit(half[at]) >= 0; ++at) {
            value = ((value << 4) | static_cast<std::uint32_t>(HexDigit(half[at]))) & 0xFFFF;
        }
        address[2 * group] = static_cast<std::uint8_t>(value >> 8);
        address[2 * group + 1] = static_cast<std::uint8_t>(value & 0xFF);
        if (at >= half.size()) {
            return;
        }
        ++at;  // the colon
    }
}

std::size_t GroupCount(std::string_view half) {
    return half.empty() ? 0
                        : static_cast<std::size_t>(std::count(half.begin(), half.end(), ':')) + 1;
}

std::uint8_t HexPair(std::string_view pair) {
    const int high = HexDigit(pair[0]);
    if (high < 0) {
        return 0;
    }
    const int low = HexDigit(pair[1]);
    return static_cast<std::uint8_t>(low < 0 ? high : high * 16 + low);
}

}  // namespace

std::optional<Ipv6Address> ParseIpv6Text(std::string_view text) {
    if (text.find_first_not_of(kIpv6Characters) != std::string_view::npos) {
        return std::nullopt;
    }
    Ipv6Address address{};
    const std::size_t gap = text.find("::");
    if (gap == std::string_view::npos) {
        if (std::count(text.begin(), text.end(), ':') != 7) {
            return std::nullopt;
        }
        ParseGroups(text, address, 0);
        return address;
    }
    // A second "::" may not even overlap the first one (":::" is refused).
    if (text.find("::", gap + 1) != std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view left = text.substr(0, gap);
    const std::string_view right = text.substr(gap + 2);
    const std::size_t leftGroups = GroupCount(left);
    const std::size_t rightGroups = GroupCount(right);
    if (leftGroups + rightGroups >= 8) {
        return std::nullopt;
    }
    if (leftGroups > 0) {
        ParseGroups(left, address, 0);
    }
    if (rightGroups > 0) {
        ParseGroups(right, address, 8 - rightGroups);
    }
    return address;
}

std::string FormatIpv6Text(const Ipv6Address& address) {
    std::array<unsigned, 8> groups{};
    for (std::size_t i = 0; i < 8; ++i) {
        groups[i] = (unsigned{address[2 * i]} << 8) | address[2 * i + 1];
    }
    const auto runStart = std::find(groups.begin(), groups.end(), 0u);
    const auto runEnd = std::find_if(runStart, groups.end(), [](unsigned g) { return g != 0; });
    auto join = [](auto begin, auto end) {
        std::string text;
        static constexpr char kDigits[] = "0123456789ABCDEF";
        for (auto it = begin; it != end; ++it) {
            if (it != begin) {
                text.push_back(':');
            }
            std::string group;
            unsigned value = *it;
            do {
                group.insert(group.begin(), kDigits[value & 0xF]);
                value >>= 4;
            } while (value != 0);
            text += group;
        }
        return text;
    };
    if (runStart == groups.end()) {
        return join(groups.begin(), groups.end());
    }
    return join(groups.begin(), runStart) + "::" + join(runEnd, groups.end());
}

void HexTextToBytes(std::string_view text, std::span<std::uint8_t> output) {
    const std::size_t pairs = std::min(output.size(), text.size() / 2);
    for (std::size_t i = 0; i < pairs; ++i) {
        output[i] = HexPair(text.substr(2 * i, 2));
    }
}

Bytes HexPairsToBytes(std::string_view text) {
    Bytes bytes(text.size() / 2);
    HexTextToBytes(text, bytes);
    return bytes;
}

bool IsHostAddress(const Ipv4Address& address) {
    const bool zero = std::all_of(address.begin(), address.end(), [](auto b) { return b == 0; });
    const bool all = std::all_of(address.begin(), address.end(), [](auto b) { return b == 0xFF; });
    return !zero && !all && (address[0] & 0xF0) != 0xE0;
}

bool IsContiguousMask(const Ipv4Address& mask) {
    const std::uint32_t bits = (std::uint32_t{mask[0]} << 24) | (std::uint32_t{mask[1]} << 16) |
                               (std::uint32_t{mask[2]} << 8) | std::uint32_t{mask[3]};
    return (~bits & (~bits + 1)) == 0;
}

std::string DottedQuad(const Ipv4Address& address) {
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
           std::to_string(address[2]) + "." + std::to_string(address[3]);
}

}  // namespace varnow
