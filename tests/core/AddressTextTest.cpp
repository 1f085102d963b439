#include <gtest/gtest.h>

#include <random>

#include "settings/AddressText.h"

namespace varnow {
namespace {

Ipv6Address Groups(std::initializer_list<unsigned> groups) {
    Ipv6Address address{};
    std::size_t i = 0;
    for (unsigned g : groups) {
        address[2 * i] = static_cast<std::uint8_t>(g >> 8);
        address[2 * i + 1] = static_cast<std::uint8_t>(g & 0xFF);
        ++i;
    }
    return address;
}

TEST(ParseIpv6Text, AcceptsAndRefusesAsTheSettingsPageExpects) {
    struct Case {
        const char* text;
        std::optional<Ipv6Address> expected;
    };
    const Case cases[] = {
        {"fe80::1", Groups({0xFE80, 0, 0, 0, 0, 0, 0, 1})},
        {"FE80::1", Groups({0xFE80, 0, 0, 0, 0, 0, 0, 1})},
        {"::", Groups({})},
        {"::1", Groups({0, 0, 0, 0, 0, 0, 0, 1})},
        {"1::", Groups({1})},
        {"1:2:3:4:5:6:7:8", Groups({1, 2, 3, 4, 5, 6, 7, 8})},
        {"1:2:3:4:5:6:7::", Groups({1, 2, 3, 4, 5, 6, 7, 0})},
        {"12345::", Groups({0x2345})},
        {"1:2:3:4:5:6:7", std::nullopt},
        {"1:2:3:4:5:6:7:8::", std::nullopt},
        {"1::2::3", std::nullopt},
        {":::", std::nullopt},
        {"1:::2", std::nullopt},
        {"fe80::1 ", std::nullopt},
        {"::ffff:1.2.3.4", std::nullopt},
        {"fe80::1%eth0", std::nullopt},
        {"fe80::/64", std::nullopt},
        {"", std::nullopt},
        // Halves longer than 31 characters are held whole.
        {"FFFF:FFFF:FFFF:FFFF:FFFF:FFFF:FFFF::",
         Groups({0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0})},
        {"::000000000000000000000000000000000000000000001", Groups({0, 0, 0, 0, 0, 0, 0, 1})},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseIpv6Text(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(FormatIpv6Text, WritesTheFirstZeroRunAsTwoColons) {
    struct Case {
        Ipv6Address address;
        const char* text;
    };
    const Case cases[] = {
        {Groups({}), "::"},
        {Groups({0, 0, 0, 0, 0, 0, 0, 1}), "::1"},
        {Groups({1}), "1::"},
        {Groups({1, 0, 2, 3, 4, 5, 6, 7}), "1::2:3:4:5:6:7"},
        {Groups({0xFE80, 0, 0, 0, 0, 0, 0, 5}), "FE80::5"},
        {Groups({1, 0, 0, 2, 0, 0, 0, 3}), "1::2:0:0:0:3"},
        {Groups({1, 2, 3, 4, 5, 6, 7, 8}), "1:2:3:4:5:6:7:8"},
        {Groups({0xABCD, 0x0BC, 1, 2, 3, 4, 5, 0}), "ABCD:BC:1:2:3:4:5::"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatIpv6Text(c.address), c.text);
    }
}

TEST(FormatIpv6Text, ParsesBackToTheSameBytes) {
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> byte(0, 255);
    std::bernoulli_distribution zeroGroup(0.4);
    for (int round = 0; round < 2000; ++round) {
        Ipv6Address address{};
        for (std::size_t g = 0; g < 8; ++g) {
            if (!zeroGroup(random)) {
                address[2 * g] = static_cast<std::uint8_t>(byte(random));
                address[2 * g + 1] = static_cast<std::uint8_t>(byte(random));
            }
        }
        const std::string text = FormatIpv6Text(address);
        EXPECT_EQ(ParseIpv6Text(text), address) << text;
    }
}

TEST(HexTextToBytes, ConvertsWholePairsAndLeavesTheRest) {
    std::array<std::uint8_t, 13> bytes;
    bytes.fill(0xEE);
    HexTextToBytes("0102030405", std::span(bytes).first(5));
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{1, 2, 3, 4, 5, 0xEE}));
    bytes.fill(0xEE);
    HexTextToBytes("0102030405", bytes);
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + 6), (Bytes{1, 2, 3, 4, 5, 0xEE}));

    std::array<std::uint8_t, 4> odd{};
    odd.fill(0xEE);
    HexTextToBytes("zzA1g0f", odd);
    EXPECT_EQ(Bytes(odd.begin(), odd.end()), (Bytes{0x00, 0xA1, 0x00, 0xEE}));
}

TEST(HexPairsToBytes, GivesOneByteAPair) {
    EXPECT_EQ(HexPairsToBytes("00ffAb1"), (Bytes{0x00, 0xFF, 0xAB}));
    EXPECT_EQ(HexPairsToBytes("1g"), (Bytes{0x01}));
    EXPECT_EQ(HexPairsToBytes(""), Bytes{});
}

}  // namespace
}  // namespace varnow
