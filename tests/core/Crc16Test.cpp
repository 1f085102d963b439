#include <gtest/gtest.h>

#include "crypto/Crc16.h"

namespace varnow {
namespace {

TEST(Crc16, MatchesThePublishedCheckValues) {
    struct Case {
        const char* input;
        std::uint16_t expected;
    };
    const Case cases[] = {
        {"123456789", 0xE5CC},
        {"", 0x1D0F},
        {"abc", 0x8CDA},
        {"A", 0x9479},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Crc16(AsBytes(c.input)), c.expected) << '"' << c.input << '"';
    }
}

}  // namespace
}  // namespace varnow
