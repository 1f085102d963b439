#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "base64/Base64Decoder.h"
#include "base64/Base64Encoder.h"

namespace varnow {
namespace {

Bytes Sequence(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

std::size_t CountCrLf(const std::string& text) {
    std::size_t count = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

TEST(Base64Encoder, BreaksLinesAfterEveryNineteenthFullGroup) {
    struct Case {
        std::size_t bytes;
        std::size_t characters;
        std::size_t lineBreaks;
        bool endsWithBreak;
    };
    const Case cases[] = {
        {0, 0, 0, false},   {1, 4, 0, false},    {2, 4, 0, false},
        {3, 4, 0, false},   {56, 76, 0, false},  {57, 78, 1, true},
        {58, 82, 1, false}, {114, 156, 2, true}, {1024, 1402, 17, false},
    };
    for (const auto& c : cases) {
        const std::string text = EncodeBase64(Sequence(c.bytes));
        EXPECT_EQ(text.size(), c.characters) << c.bytes << " bytes";
        EXPECT_EQ(Base64EncodedLength(c.bytes), c.characters) << c.bytes << " bytes";
        EXPECT_EQ(CountCrLf(text), c.lineBreaks) << c.bytes << " bytes";
        EXPECT_EQ(text.ends_with("\r\n"), c.endsWithBreak) << c.bytes << " bytes";
    }
}

TEST(Base64Encoder, EndsAOneKibImageWithAFullLineAndPadding) {
    const std::string text = EncodeBase64(Sequence(1024));
    const std::string lastLine = text.substr(text.rfind("\r\n") + 2);
    EXPECT_EQ(lastLine.size(), 76u);
    EXPECT_TRUE(lastLine.ends_with("=="));
    EXPECT_EQ(EncodeBase64(AsBytes("ABC")), "QUJD");
    EXPECT_EQ(EncodeBase64(AsBytes("AB")), "QUI=");
    EXPECT_EQ(EncodeBase64(AsBytes("A")), "QQ==");
}

TEST(Base64Decoder, ReadsTheEncodersOutputBackToTheSameBytes) {
    for (std::size_t count : {0u, 1u, 2u, 3u, 57u, 58u, 1024u, 4099u}) {
        const Bytes bytes = Sequence(count);
        EXPECT_EQ(DecodeBase64(AsBytes(EncodeBase64(bytes))), bytes) << count << " bytes";
    }
}

TEST(Base64Decoder, KeepsTheBoardsQuirks) {
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"three letters", "QUJD", "ABC"},
        {"fourth is padding", "QUI=", "AB"},
        {"third is padding", "QQ==", "A"},
        {"padding ends decoding", "QQ==QUJD", "A"},
        {"CR before a group is skipped", "\rQUJD", "ABC"},
        {"0x80 before a group is skipped", "\x80QUJD", "ABC"},
        {"controls between groups are skipped", "QUJD\r\n\x01QUJD", "ABCABC"},
        {"unknown character reads as 0", "Q*JD", std::string("\x40\x02\x43", 3)},
        {"only the low 7 bits index the alphabet", "Q\xd5JD", "ABC"},
        {"a cut-off group reads NULs", "QUI", std::string("AB\0", 3)},
        {"empty", "", ""},
    };
    for (const auto& c : cases) {
        const Bytes decoded = DecodeBase64(AsBytes(c.text));
        EXPECT_EQ(AsText(decoded), c.expected) << c.name;
    }
}

}  // namespace
}  // namespace varnow
