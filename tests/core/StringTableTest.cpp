#include <gtest/gtest.h>

#include "support/RecordingMessageHost.h"
#include "ui/StringTable.h"

namespace varnow {
namespace {

TEST(StringTable, HasEveryTextInEnglishAndKorean) {
    const StringTable table = StringTable::BuiltIn();
    ASSERT_GT(table.Ids().size(), 60u);
    for (int id : table.Ids()) {
        const std::string english = table.Text(id, Language::English);
        const std::string korean = table.Text(id, Language::Korean);
        EXPECT_FALSE(english.empty()) << id;
        EXPECT_FALSE(korean.empty()) << id;
        // Placeholders must match, or a formatted Korean text would lose or misplace values.
        auto placeholders = [](const std::string& text) {
            return std::count(text.begin(), text.end(), '%');
        };
        EXPECT_EQ(placeholders(english), placeholders(korean)) << id;
    }
    EXPECT_EQ(table.Text(118, Language::English),
              "Has failed initial setting.\r\nConnect to the product again.");
    EXPECT_EQ(table.Text(9999, Language::English), "#9999");
}

TEST(StringTable, RefusesMalformedLines) {
    EXPECT_TRUE(StringTable::Parse("# comment\n\n1\ta\tb\n").has_value());
    EXPECT_FALSE(StringTable::Parse("1\tonly english\n").has_value());
    EXPECT_FALSE(StringTable::Parse("x\ta\tb\n").has_value());
    EXPECT_EQ(StringTable::Parse("7\ta\\r\\nb\t\n")->Text(7, Language::Korean), "a\r\nb")
        << "an empty translation falls back to English";
}

TEST(FillPlaceholders, FillsInOrderWithWidthAndZeroPadding) {
    EXPECT_EQ(
        FillPlaceholders("%s\r\nProductID : %d\r\nQVK ID : %d", {"Error[product ID]", "3", "4"}),
        "Error[product ID]\r\nProductID : 3\r\nQVK ID : 4");
    EXPECT_EQ(FillPlaceholders("%I64ddays / %02d:%02d:%02d", {"3", "4", "5", "6"}),
              "3days / 04:05:06");
    EXPECT_EQ(FillPlaceholders("100%% %u", {"7"}), "100% 7");
    EXPECT_EQ(FillPlaceholders("[%d]", {}), "[]");
}

TEST(Messenger, ShowsTextsInTheChosenLanguage) {
    testing::RecordingMessageHost host;
    const StringTable table = StringTable::BuiltIn();
    Messenger korean(host, table, Language::Korean);
    korean.Show(122, MessageStyle::Warning);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].stringId, 122);
    EXPECT_EQ(host.messages()[0].text, table.Text(122, Language::Korean));
    EXPECT_NE(host.messages()[0].text, table.Text(122, Language::English));
}

}  // namespace
}  // namespace varnow
