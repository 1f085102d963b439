#include <gtest/gtest.h>

#include <string>

#include "common/Bytes.h"
#include "crypto/HmacSha1.h"
#include "crypto/Pbkdf2.h"
#include "settings/WpaPsk.h"
#include "crypto/Sha1.h"

namespace varnow {
namespace {

std::string Sha1Hex(std::string_view text) {
    return ToLowerHex(Sha1::Of(AsBytes(text)));
}

TEST(Sha1, MatchesTheFips180Examples) {
    EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Sha1Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "84983e441c3bd26ebaae4aa1f95129e5e54670f1");
    EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(Sha1Hex(std::string(1000000, 'a')), "34aa973cd4c4daa4f61eeb2bdbad27316534016f");
}

TEST(Sha1, GivesTheSameDigestWhateverTheChunking) {
    const std::string text(1000, 'x');
    for (std::size_t chunk : {1u, 3u, 63u, 64u, 65u, 999u}) {
        Sha1 sha;
        for (std::size_t at = 0; at < text.size(); at += chunk) {
            sha.Update(AsBytes(std::string_view(text).substr(at, chunk)));
        }
        EXPECT_EQ(ToLowerHex(sha.Final()), Sha1Hex(text)) << "chunk " << chunk;
    }
}

TEST(HmacSha1, MatchesRfc2202) {
    struct Case {
        std::string key;
        std::string data;
        const char* expected;
    };
    const Case cases[] = {
        {std::string(20, '\x0b'), "Hi There", "b617318655057264e28bc0b6fb378c8ef146be00"},
        {"Jefe", "what do ya want for nothing?", "effcdf6ae5eb2fa2d27416d5f184df9c259a7c79"},
        {std::string(20, '\xaa'), std::string(50, '\xdd'),
         "125d7342b9ac11cd91a39af48aa17b4f63f175d3"},
        {"\x01\x02\x03\x04\x05\x06\x07\x08\x09\x0a\x0b\x0c\x0d\x0e\x0f\x10\x11\x12\x13\x14\x15\x16"
         "\x17\x18\x19",
         std::string(50, '\xcd'), "4c9007f4026250c6bc8414f9bf50c86c2d7235da"},
        {std::string(20, '\x0c'), "Test With Truncation",
         "4c1a03424b55e07fe7f27be1d58bb9324a9a5a04"},
        {std::string(80, '\xaa'), "Test Using Larger Than Block-Size Key - Hash Key First",
         "aa4ae5e15272d00e95705637ce8a3b55ed402112"},
        {std::string(80, '\xaa'),
         "Test Using Larger Than Block-Size Key and Larger Than One Block-Size Data",
         "e8e99d0f45237d786d6bbaa7965c7808bbff1a91"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToLowerHex(HmacSha1(AsBytes(c.key)).Of(AsBytes(c.data))), c.expected) << c.data;
    }
}

TEST(Pbkdf2HmacSha1, MatchesRfc6070) {
    struct Case {
        std::string password;
        std::string salt;
        unsigned iterations;
        std::size_t length;
        const char* expected;
    };
    const Case cases[] = {
        {"password", "salt", 1, 20, "0c60c80f961f0e71f3a9b524af6012062fe037a6"},
        {"password", "salt", 2, 20, "ea6c014dc72d6f8ccd1ed92ace1d41f0d8de8957"},
        {"password", "salt", 4096, 20, "4b007901b765489abead49d926f721d065a429c1"},
        {"passwordPASSWORDpassword", "saltSALTsaltSALTsaltSALTsaltSALTsalt", 4096, 25,
         "3d2eec4fe41c849b80c8d83662c0e44a8b291a964cf2f07038"},
        {std::string("pass\0word", 9), std::string("sa\0lt", 5), 4096, 16,
         "56fa6aa75548099dcc37d7f03425e0c3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToLowerHex(
                      Pbkdf2HmacSha1(AsBytes(c.password), AsBytes(c.salt), c.iterations, c.length)),
                  c.expected)
            << c.password << " x" << c.iterations;
    }
}

TEST(DerivePsk, MatchesTheIeee80211iPassphraseExamples) {
    EXPECT_EQ(ToLowerHex(DerivePsk(AsBytes("password"), AsBytes("IEEE"))),
              "f42c6fc52df0ebef9ebb4b90b38a5f902e83fe1b135a70e23aed762e9710a12e");
    EXPECT_EQ(ToLowerHex(DerivePsk(AsBytes("ThisIsAPassword"), AsBytes("ThisIsASSID"))),
              "0dc0d6eb90555ed6419756b9a15ec3e3209b63df707dd508d14581f8982721af");
}

TEST(DerivePsk, ReadsKeyAndSsidUpToTheirFirstNulAndWithinTheirFields) {
    std::array<std::uint8_t, 63> key{};
    std::array<std::uint8_t, 32> ssid{};
    const std::string_view password = "password";
    std::copy(password.begin(), password.end(), key.begin());
    std::copy_n("IEEE", 4, ssid.begin());
    EXPECT_EQ(DerivePsk(key, ssid), DerivePsk(AsBytes("password"), AsBytes("IEEE")));

    // A full 32-byte SSID is used whole; a longer buffer is cut at 32.
    const std::string full(32, 'S');
    EXPECT_EQ(DerivePsk(AsBytes("password"), AsBytes(full + "extra")),
              DerivePsk(AsBytes("password"), AsBytes(full)));
    // An empty shared key still gives a key.
    EXPECT_NE(DerivePsk({}, AsBytes("IEEE")), PreSharedKey{});
}

}  // namespace
}  // namespace varnow
