#include <gtest/gtest.h>

#include "info/FibId.h"

namespace varnow {
namespace {

TEST(FibIdTest, TellsTheFirmwareSizeAndVersionWhenTheIdIsLongEnough) {
    struct Case {
        std::string fibId;
        std::optional<int> sizeKib;
        std::optional<std::string> version;
    };
    const std::string pad(12, '0');  // bytes 6 to 11
    const Case cases[] = {
        {"00000000" "0010" + pad + "2105" + "00", 64, "2.1.5"},   // 4096 x 16 bytes
        {"00000000" "4000" + pad + "2105" + "00", 1, "2.1.5"},    // 0x40 x 16 bytes
        {"00000000" "001a" + pad + "f30c" + "00", 104, "15.3.12"},
        {"00000000" "0010" + pad + "2105", 64, std::nullopt},      // exactly 28 characters
        {"000000000010", std::nullopt, std::nullopt},              // exactly 12
        {"VARNO-FIB rev.B", 0, std::nullopt},                      // not hexadecimal: zeros
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fibId);
        const FibInfo info = DecodeFibId(c.fibId);
        EXPECT_EQ(info.sizeKib, c.sizeKib);
        ASSERT_EQ(info.version.has_value(), c.version.has_value());
        if (info.version) {
            EXPECT_EQ(std::to_string(info.version->major) + "." +
                          std::to_string(info.version->minor) + "." +
                          std::to_string(info.version->patch),
                      *c.version);
        }
    }
}

}  // namespace
}  // namespace varnow
