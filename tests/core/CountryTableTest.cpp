#include <gtest/gtest.h>

#include <algorithm>

#include "certs/CountryTable.h"

namespace varnow {
namespace {

TEST(CountryTable, HoldsTheTwoHundredFortyTwoRowsInCodeOrder) {
    const auto table = CountryTable();
    ASSERT_EQ(table.size(), 242u);
    EXPECT_EQ(table.front().code, "AD");
    EXPECT_EQ(table.front().name, "Andorra");
    EXPECT_EQ(table.back().code, "ZW");
    EXPECT_EQ(table.back().name, "Zimbabwe");
    EXPECT_TRUE(std::is_sorted(table.begin(), table.end(),
                               [](const Country& a, const Country& b) { return a.code < b.code; }));
    for (const auto& row : table) {
        EXPECT_EQ(row.code.size(), 2u);
        EXPECT_TRUE(std::all_of(row.name.begin(), row.name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80;
        })) << row.name;
    }
    for (const char* missing : {"BL", "MF", "UM", "BQ", "CW", "SX", "SS"}) {
        EXPECT_EQ(CountryNameForCode(missing), "Unknown") << missing;
    }
    const auto first =
        std::min_element(table.begin(), table.end(),
                         [](const Country& a, const Country& b) { return a.name < b.name; });
    EXPECT_EQ(first->name, "Afghanistan") << "the sorted list starts here";
}

TEST(CountryTable, LooksUpExactly) {
    struct Case {
        const char* name;
        const char* code;
    };
    const Case cases[] = {
        {"Korea, Republic of", "KR"},
        {"Korea, Democratic People's Republic of", "KP"},
        {"Libya", "LY"},
        {"Palestinian Territory", "PS"},
        {"Taiwan, Province of China", "TW"},
        {"Macedonia, the former Yugoslav Republic of", "MK"},
        {"Netherlands Antilles", "AN"},
        {"Aland Islands", "AX"},
        {"Cote d'Ivoire", "CI"},
        {"Reunion", "RE"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountryCodeForName(c.name), c.code);
        EXPECT_EQ(CountryNameForCode(c.code), c.name);
    }
    EXPECT_EQ(CountryCodeForName("korea, republic of"), "Unknown");
    EXPECT_EQ(CountryCodeForName(""), "Unknown");
    EXPECT_EQ(CountryNameForCode("kr"), "Unknown");
}

}  // namespace
}  // namespace varnow
