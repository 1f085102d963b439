#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "package/RecordNames.h"

namespace varnow {
namespace {

void PutRecord(Bytes& bytes, char type, std::uint8_t subtype, std::size_t length,
               std::string_view content) {
    bytes.push_back(static_cast<std::uint8_t>(type));
    bytes.push_back(subtype);
    bytes.push_back(static_cast<std::uint8_t>(length & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(length >> 8));
    bytes.insert(bytes.end(), content.begin(), content.end());
}

// A head of 16 fixed bytes with the given head length (in words) and records after them.
Bytes Head(std::uint8_t headWords, const Bytes& records, std::size_t total = 0) {
    Bytes head(std::max(16 + records.size(), total), 0);
    std::copy(records.begin(), records.end(), head.begin() + 16);
    head[10] = headWords;
    return head;
}

TEST(ImageName, WalksTheHeadRecords) {
    Bytes nameOnly;
    PutRecord(nameOnly, 'a', 0, 4 + 5, "board");
    Bytes otherFirst;
    PutRecord(otherFirst, 'x', 0, 8, "1234");
    PutRecord(otherFirst, 'a', 0, 4 + 4, "kofs");
    Bytes zeroLength;
    PutRecord(zeroLength, 'x', 0, 0, "");
    PutRecord(zeroLength, 'a', 0, 8, "lost");
    Bytes tooLong;
    PutRecord(tooLong, 'a', 0, 200, "cut");
    Bytes wrongSubtype;
    PutRecord(wrongSubtype, 'a', 1, 8, "nope");
    Bytes withNul;
    PutRecord(withNul, 'a', 0, 4 + 6, std::string_view("ab\0cd\0", 6));

    struct Case {
        const char* name;
        Bytes head;
        std::string expected;
    };
    const Case cases[] = {
        {"name record", Head(8, nameOnly, 32), "board"},
        {"after another record", Head(8, otherFirst, 32), "kofs"},
        {"head length 0 has no records", Head(0, nameOnly, 32), ""},
        {"head length 4 has no records", Head(4, nameOnly, 32), ""},
        {"length 0 ends the walk", Head(16, zeroLength, 64), ""},
        {"record longer than the head", Head(8, tooLong, 32), ""},
        {"other subtype", Head(8, wrongSubtype, 32), ""},
        {"name ends at its NUL", Head(8, withNul, 32), "ab"},
        {"head length beyond the bytes held", Head(255, nameOnly), "board"},
        {"no bytes", Bytes{}, ""},
        {"shorter than the head length field", Bytes(10, 0x61), ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ImageName(c.head), c.expected) << c.name;
    }
}

TEST(ImageName, KeepsTheLongestNameAHeadCanHoldWhole) {
    // A head is at most 255 words (1020 bytes), so a name never reaches the 1023-byte cut.
    Bytes records;
    PutRecord(records, 'a', 0, 4 + 1000, std::string(1000, 'n'));
    EXPECT_EQ(ImageName(Head(255, records)), std::string(1000, 'n'));
}

TEST(FirmwareName, FindsTheARecordAndReportsMalformedWalks) {
    Bytes named;
    PutRecord(named, 'B', 0, 6, "xy");
    PutRecord(named, 'A', 0, 4 + 8, std::string_view("fw-1.2\0\0", 8));
    Bytes shortA;
    PutRecord(shortA, 'A', 0, 4, "");
    Bytes zero;
    PutRecord(zero, 'B', 0, 0, "");
    Bytes tooLong;
    PutRecord(tooLong, 'A', 0, 50, "short");
    Bytes trailing;
    PutRecord(trailing, 'B', 0, 6, "xy");
    trailing.push_back(0x41);

    struct Case {
        const char* name;
        Bytes block;
        std::string expected;
        bool malformed;
    };
    const Case cases[] = {
        {"A record after another", named, "fw-1.2", false},
        {"A record of length 4 is skipped", shortA, "", false},
        {"length 0", zero, "", true},
        {"longer than the block", tooLong, "", true},
        {"cut-off record head", trailing, "", true},
        {"empty block", Bytes{}, "", false},
    };
    for (const auto& c : cases) {
        const FirmwareNameResult result = FirmwareName(c.block);
        EXPECT_EQ(result.name, c.expected) << c.name;
        EXPECT_EQ(result.malformed, c.malformed) << c.name;
    }
}

TEST(BoardText, KeepsUtf8AndReadsOtherBytesAsLatin1) {
    Bytes record;
    PutRecord(record, 'a', 0, 4 + 3, "\xe9t\xe9");
    EXPECT_EQ(ImageName(Head(8, record, 32)), "\xc3\xa9t\xc3\xa9");
    Bytes utf8;
    PutRecord(utf8, 'a', 0, 4 + 6, "\xeb\xb3\xb4\xeb\x93\x9c");  // "보드"
    EXPECT_EQ(ImageName(Head(8, utf8, 32)), "\xeb\xb3\xb4\xeb\x93\x9c");
}

}  // namespace
}  // namespace varnow
