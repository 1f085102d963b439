// A station's settings plan: rows go to their boards by MCU id or in order, each once, and a
// plan that would fail on any board is refused whole, with the line, before a board is written.
#include <gtest/gtest.h>

#include "station/SettingsPlan.h"
#include "support/TempFolder.h"

namespace varnow {
namespace {

const std::string kIdA = "00000000000000000000000000000000000000aa";
const std::string kIdB = "00000000000000000000000000000000000000bb";

std::optional<SettingsPlan> Parse(const std::string& text, std::string& problem) {
    return SettingsPlan::Parse(AsBytes(text), problem);
}

TEST(SettingsPlanTest, RowsGoToTheirBoardByMcuIdOrInOrderEachOnce) {
    std::string problem;
    auto keyed = Parse("mcu_id,ipv4.address,wlan.ssid\n" + kIdB + ",10.0.0.2,\"line b, north\"\n" +
                           "00000000000000000000000000000000000000AA,10.0.0.1,\"say \"\"hi\"\"\"\r\n",
                       problem);
    ASSERT_TRUE(keyed.has_value()) << problem;
    EXPECT_TRUE(keyed->HasRowFor(kIdA));
    EXPECT_EQ(keyed->RowFor(kIdA),
              (SettingPairs{{"ipv4.address", "10.0.0.1"}, {"wlan.ssid", "say \"hi\""}}));
    EXPECT_FALSE(keyed->RowFor(kIdA).has_value()) << "a row is used once";
    EXPECT_EQ(keyed->RowFor(kIdB),
              (SettingPairs{{"ipv4.address", "10.0.0.2"}, {"wlan.ssid", "line b, north"}}));

    auto ordered = Parse("\xEF\xBB\xBFwlan.ssid,ipv4.address\nfirst,\nsecond,10.0.0.9\n", problem);
    ASSERT_TRUE(ordered.has_value()) << "a BOM is skipped: " << problem;
    EXPECT_EQ(ordered->RowFor(kIdB), (SettingPairs{{"wlan.ssid", "first"}}));
    EXPECT_EQ(ordered->RowFor(kIdA),
              (SettingPairs{{"wlan.ssid", "second"}, {"ipv4.address", "10.0.0.9"}}));
    EXPECT_FALSE(ordered->HasRowFor(kIdA));
}

TEST(SettingsPlanTest, APlanThatWouldFailOnAnyBoardIsRefusedWithItsLine) {
    struct Case {
        const char* what;
        std::string text;
        std::string problem;  // the start of the reason
    };
    const Case cases[] = {
        {"the same MCU id twice", "mcu_id,wlan.ssid\n" + kIdA + ",a\n" + kIdA + ",b\n", "line 3"},
        {"a column twice", "wlan.ssid,wlan.ssid\na,b\n", "line 1"},
        {"a cell more than the header", "wlan.ssid\na,b\n", "line 2"},
        {"a quote not closed", "wlan.ssid\n\"open\nnext\n", "line 2"},
        {"an MCU id not of 40 hex digits", "mcu_id,wlan.ssid\n12ab,a\n", "line 2"},
        {"a value the settings rules refuse", "wlan.ssid,ipv4.netmask\na,255.0.255.0\n",
         "line 2"},
        {"an unknown key", "wlan.ssid,nosuch\na,b\n", "line 1"},
        {"no rows", "wlan.ssid\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string problem;
        EXPECT_FALSE(Parse(c.text, problem).has_value());
        EXPECT_FALSE(problem.empty());
        EXPECT_TRUE(problem.starts_with(c.problem)) << problem;
    }
}

TEST(SettingsPlanTest, OnlyARegularFileOfBoundedSizeIsRead) {
    testing::TempFolder folder;
    std::string problem;
    EXPECT_FALSE(SettingsPlan::Load("/dev/zero", problem).has_value());
    EXPECT_FALSE(problem.empty());
    const auto large =
        folder.Write("large.csv", Bytes(SettingsPlan::kLargestFile + 1, static_cast<std::uint8_t>('a')));
    problem.clear();
    EXPECT_FALSE(SettingsPlan::Load(large, problem).has_value());
    EXPECT_FALSE(problem.empty());
}

}  // namespace
}  // namespace varnow
