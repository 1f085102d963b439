#include <gtest/gtest.h>

#include <string>

#include "crypto/Crc16.h"
#include "base64/Base64Decoder.h"
#include "settings/EnvironmentBlock.h"
#include "support/RecordingMessageHost.h"
#include "base64/Base64Encoder.h"

namespace varnow {
namespace {

using testing::RecordingMessenger;

// Builds environment blocks record by record, with sound checksums unless told otherwise.
class BlockBuilder {
public:
    BlockBuilder() : m_block(16, 0) {
        const std::uint8_t header[] = {'e', 'V', 'n', 'S', 0x12, 0x34};
        std::copy(std::begin(header), std::end(header), m_block.begin());
        WriteLe16(m_block, 6, Crc16(ByteView(m_block).first(6)));
        for (std::size_t i = 8; i < 16; ++i) {
            m_block[i] = static_cast<std::uint8_t>(0xA0 + i);  // kept bytes, not covered by the CRC
        }
    }
    BlockBuilder& Add(std::uint8_t type, std::uint8_t subtype, const Bytes& payload) {
        return AddWithLength(type, subtype, payload, payload.size() + 6);
    }
    BlockBuilder& AddText(std::uint8_t type, std::uint8_t subtype, std::string_view text) {
        return Add(type, subtype, Bytes(text.begin(), text.end()));
    }
    BlockBuilder& AddWithLength(std::uint8_t type, std::uint8_t subtype, const Bytes& payload,
                                std::size_t length) {
        const std::size_t at = m_block.size();
        m_block.push_back(type);
        m_block.push_back(subtype);
        m_block.push_back(static_cast<std::uint8_t>(length & 0xFF));
        m_block.push_back(static_cast<std::uint8_t>(length >> 8));
        m_block.insert(m_block.end(), payload.begin(), payload.end());
        const std::uint16_t crc = Crc16(ByteView(m_block).subspan(at));
        m_block.push_back(static_cast<std::uint8_t>(crc & 0xFF));
        m_block.push_back(static_cast<std::uint8_t>(crc >> 8));
        return *this;
    }
    BlockBuilder& End() { return Add(255, 0, {}); }
    Bytes& bytes() { return m_block; }
    std::string Text() const { return EncodeBase64(m_block); }

private:
    Bytes m_block;
};

Bytes Repeat(std::uint8_t value, std::size_t count) {
    return Bytes(count, value);
}

Bytes Le32(std::uint32_t value) {
    Bytes bytes(4);
    WriteLe32(bytes, 0, value);
    return bytes;
}

// A block with every record the tool knows, two it does not know, and an end record.
BlockBuilder FullBlock() {
    BlockBuilder builder;
    builder.Add(2, 1, {0x34, 0x12})
        .AddText(12, 0, "VarnoBoard-7")
        .Add(3, 0, {192, 168, 0, 7})
        .Add(3, 1, {255, 255, 255, 0})
        .Add(3, 2, {192, 168, 0, 1})
        .Add(3, 3, {8, 8, 8, 8})
        .Add(4, 0,
             [] {
                 Bytes b = Repeat(0xFE, 16);
                 b.push_back(64);
                 b.push_back(0);
                 return b;
             }())
        .Add(4, 2, Repeat(0x21, 16))
        .Add(4, 3, Repeat(0x22, 16))
        .Add(5, 0, Le32(0x12345F88))
        .Add(6, 0, Repeat(0x60, 10))
        .Add(6, 1, Repeat(0x61, 10))
        .Add(7, 1, {1, 2, 3})  // unknown to the tool
        .Add(8, 3, Repeat(0x83, 48))
        .Add(8, 4,
             [] {
                 Bytes b{'u', 's', 'e', 'r', 0, 0};
                 b.push_back(0xC4);
                 b.push_back(0xC5);
                 return b;
             }())
        .Add(8, 5,
             [] {
                 Bytes b{'s', 'e', 'c', 'r', 'e', 't', 0, 0};
                 b.push_back(0xD4);
                 b.push_back(0xD5);
                 return b;
             }())
        .Add(9, 0, Le32(0x71000021))
        .Add(9, 1,
             [] {
                 Bytes b(32, 0);
                 std::copy_n("HomeNet", 7, b.begin());
                 return b;
             }())
        .Add(9, 2, Repeat(0x92, 20))
        .Add(9, 3, Repeat(0x93, 52))
        .Add(9, 8,
             [] {
                 Bytes b(63, 0);
                 std::copy_n("passphrase", 10, b.begin());
                 return b;
             }())
        .Add(9, 9, Repeat(0x99, 32))
        .Add(9, 77, {9, 9})  // unknown subtype
        .Add(10, 0, Repeat(0xA0, 10))
        .End();
    return builder;
}

class EnvironmentBlockTest : public ::testing::Test {
protected:
    bool Decode(const std::string& text) {
        return DecodeEnvironmentBlock(AsBytes(text), m_data, m_ui.messenger);
    }
    EnvironmentData m_data;
    RecordingMessenger m_ui;
};

TEST_F(EnvironmentBlockTest, AnUnchangedRoundTripIsByteIdentical) {
    BlockBuilder block = FullBlock();
    ASSERT_TRUE(Decode(block.Text()));
    const auto text = EncodeEnvironmentBlock(m_data);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(*text, block.Text());
    EXPECT_EQ(DecodeBase64(AsBytes(*text)), block.bytes());
    EXPECT_TRUE(m_ui.host.messages().empty());
}

TEST_F(EnvironmentBlockTest, DecodesEveryRecordItKnows) {
    ASSERT_TRUE(Decode(FullBlock().Text()));
    const SettingsStore& s = m_data.store;
    EXPECT_EQ(s.carried2_1, 0x1234);
    EXPECT_EQ(AsText(s.productName), "VarnoBoard-7");
    EXPECT_EQ(s.ipv4Address, (std::array<std::uint8_t, 4>{192, 168, 0, 7}));
    EXPECT_EQ(s.ipv4DnsServer, (std::array<std::uint8_t, 4>{8, 8, 8, 8}));
    EXPECT_EQ(s.ipv6Address[0], 0xFE);
    EXPECT_EQ(s.ipv6PrefixLength, 64);
    EXPECT_EQ(s.networkFlags, 0x12345F88u);
    EXPECT_EQ(s.wlanWord, 0x71000021u);
    EXPECT_EQ(AsText(ByteView(s.ssid).first(7)), "HomeNet");
    EXPECT_EQ(s.preSharedKey[31], 0x99);
    EXPECT_EQ(s.carried10_0[9], 0xA0);
    EXPECT_TRUE(m_data.wlanPresent);
    ASSERT_TRUE(m_data.dot1xId && m_data.dot1xPassword);
    EXPECT_EQ(*m_data.dot1xId, (Bytes{'u', 's', 'e', 'r', 0, 0}));
    EXPECT_EQ(m_data.dot1xPassword->size(), 8u);
}

TEST_F(EnvironmentBlockTest, PatchesEditedValuesAtTheirPlacesAndResealsTheRecords) {
    BlockBuilder original = FullBlock();
    ASSERT_TRUE(Decode(original.Text()));
    m_data.store.ipv4Address = {10, 1, 2, 3};
    m_data.store.networkFlags = 0x100;
    m_data.store.ssid.fill(0);
    std::copy_n("Other", 5, m_data.store.ssid.begin());
    m_data.store.preSharedKey.fill(0x55);
    (*m_data.dot1xId)[0] = 'U';
    const auto text = EncodeEnvironmentBlock(m_data);
    ASSERT_TRUE(text.has_value());

    const Bytes sent = DecodeBase64(AsBytes(*text));
    ASSERT_EQ(sent.size(), original.bytes().size());
    EnvironmentData again;
    ASSERT_TRUE(DecodeEnvironmentBlock(AsBytes(*text), again, m_ui.messenger));
    EXPECT_EQ(again.store.ipv4Address, (std::array<std::uint8_t, 4>{10, 1, 2, 3}));
    EXPECT_EQ(again.store.networkFlags, 0x100u);
    EXPECT_EQ(AsText(ByteView(again.store.ssid).first(5)), "Other");
    EXPECT_EQ(again.store.preSharedKey, m_data.store.preSharedKey);
    EXPECT_EQ((*again.dot1xId)[0], 'U');
    // Unknown records and the carried bytes after the 802.1X texts stay as received.
    EXPECT_EQ(again.store.carried8_3, m_data.store.carried8_3);
    const auto find = [](const Bytes& b, std::initializer_list<std::uint8_t> head) {
        return std::search(b.begin(), b.end(), head.begin(), head.end()) - b.begin();
    };
    const auto unknown = find(sent, {7, 1, 9, 0});
    EXPECT_TRUE(std::equal(sent.begin() + unknown, sent.begin() + unknown + 9,
                           original.bytes().begin() + find(original.bytes(), {7, 1, 9, 0})));
    const auto dot1x = find(sent, {8, 4, 14, 0});
    EXPECT_EQ(sent[dot1x + 10], 0xC4);
}

TEST_F(EnvironmentBlockTest, RejectsUnsoundBlocks) {
    struct Case {
        const char* name;
        Bytes block;
    };
    auto withBlock = [](auto change) {
        BlockBuilder builder = FullBlock();
        change(builder);
        return builder.bytes();
    };
    const Case cases[] = {
        {"certificate block magic", withBlock([](BlockBuilder& b) {
             b.bytes()[3] = 'C';
             WriteLe16(b.bytes(), 6, Crc16(ByteView(b.bytes()).first(6)));
         })},
        {"header checksum", withBlock([](BlockBuilder& b) { b.bytes()[4] ^= 1; })},
        {"checksum of an unknown record", withBlock([](BlockBuilder& b) {
             BlockBuilder fresh;
             fresh.Add(7, 1, {1, 2, 3}).End();
             fresh.bytes()[16 + 5] ^= 1;
             b = fresh;
         })},
        {"record of length 0", withBlock([](BlockBuilder& b) {
             b = BlockBuilder();
             b.AddWithLength(7, 0, {}, 0);
         })},
        {"record of length 3", withBlock([](BlockBuilder& b) {
             b = BlockBuilder();
             b.AddWithLength(7, 0, {}, 3);
         })},
        {"record of length 5", withBlock([](BlockBuilder& b) {
             b = BlockBuilder();
             b.AddWithLength(7, 0, {}, 5);
         })},
        {"record past the end", withBlock([](BlockBuilder& b) {
             b = BlockBuilder();
             b.AddWithLength(7, 0, {1}, 200);
         })},
        {"cut-off record head", withBlock([](BlockBuilder& b) {
             b = BlockBuilder();
             b.bytes().push_back(7);
         })},
        {"shorter than a header", Bytes{'e', 'V', 'n', 'S', 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(Decode(EncodeBase64(c.block))) << c.name;
    }
    EXPECT_TRUE(m_ui.host.messages().empty());
}

TEST_F(EnvironmentBlockTest, TellsTheUserWhenThereIsNoText) {
    EXPECT_FALSE(Decode(""));
    ASSERT_EQ(m_ui.host.messages().size(), 1u);
    EXPECT_EQ(m_ui.host.messages()[0].stringId, 148);
    EXPECT_EQ(m_ui.host.messages()[0].text, "There's no configuration value.");
    EXPECT_EQ(m_ui.host.messages()[0].style, MessageStyle::Warning);
}

TEST_F(EnvironmentBlockTest, SetsTheWlanFlagForAnyType9Record) {
    struct Case {
        const char* name;
        BlockBuilder block;
        bool wlan;
    };
    BlockBuilder none;
    none.Add(3, 0, {1, 2, 3, 4}).End();
    BlockBuilder unknownSubtype;
    unknownSubtype.Add(9, 77, {1}).End();
    const Case cases[] = {{"no type 9", none, false}, {"only 9/77", unknownSubtype, true}};
    for (const auto& c : cases) {
        ASSERT_TRUE(Decode(c.block.Text())) << c.name;
        EXPECT_EQ(m_data.wlanPresent, c.wlan) << c.name;
    }
}

TEST_F(EnvironmentBlockTest, LeavesEmptyTextsAbsent) {
    BlockBuilder block;
    block.Add(12, 0, {}).Add(8, 4, {0xC4, 0xC5}).End();
    ASSERT_TRUE(Decode(block.Text()));
    EXPECT_TRUE(m_data.store.productName.empty());
    EXPECT_FALSE(m_data.dot1xId.has_value());
    EXPECT_FALSE(m_data.dot1xPassword.has_value());
    ASSERT_TRUE(EncodeEnvironmentBlock(m_data).has_value());
}

TEST_F(EnvironmentBlockTest, WritesOnlyInsideRecordsShorterThanTheirFields) {
    BlockBuilder block;
    block.Add(3, 0, {10, 20}).Add(4, 0, Repeat(0x11, 16)).Add(7, 7, {0x77}).End();
    ASSERT_TRUE(Decode(block.Text()));
    EXPECT_EQ(m_data.store.ipv4Address, (std::array<std::uint8_t, 4>{10, 20, 0, 0}));
    m_data.store.ipv4Address = {1, 2, 3, 4};
    m_data.store.ipv6PrefixLength = 48;  // no room for it in this record
    const auto text = EncodeEnvironmentBlock(m_data);
    ASSERT_TRUE(text.has_value());
    const Bytes sent = DecodeBase64(AsBytes(*text));
    ASSERT_EQ(sent.size(), block.bytes().size());
    EXPECT_EQ(sent[20], 1);
    EXPECT_EQ(sent[21], 2);
    EXPECT_EQ(ReadLe16(sent, 18), 8) << "the record keeps its length";
    EXPECT_TRUE(std::equal(sent.begin() + 24, sent.end(), block.bytes().begin() + 24))
        << "the IPv6 record has no room for the prefix length, so it stays as it was";
    ASSERT_TRUE(DecodeEnvironmentBlock(AsBytes(*text), m_data, m_ui.messenger));
}

TEST_F(EnvironmentBlockTest, HandlesPayloadsLargerThanTheWorkArea) {
    BlockBuilder block;
    Bytes text(3000, 'x');
    text.push_back(0xC4);
    text.push_back(0xC5);
    block.Add(8, 4, text).Add(3, 0, {5, 6, 7, 8}).End();
    ASSERT_TRUE(Decode(block.Text()));
    EXPECT_EQ(m_data.dot1xId->size(), 3000u);
    EXPECT_EQ(m_data.store.ipv4Address[3], 8);
    EXPECT_EQ(EncodeEnvironmentBlock(m_data), block.Text());
}

TEST_F(EnvironmentBlockTest, SendsNothingAfterTheEndRecordAndAllOfABlockWithoutOne) {
    BlockBuilder withTrailer = FullBlock();
    const std::size_t endOfRecords = withTrailer.bytes().size();
    withTrailer.bytes().insert(withTrailer.bytes().end(), {1, 2, 3});
    ASSERT_TRUE(Decode(withTrailer.Text()));
    EXPECT_EQ(DecodeBase64(AsBytes(*EncodeEnvironmentBlock(m_data))).size(), endOfRecords);

    BlockBuilder noEnd;
    noEnd.Add(3, 0, {1, 2, 3, 4});
    ASSERT_TRUE(Decode(noEnd.Text()));
    EXPECT_EQ(EncodeEnvironmentBlock(m_data), noEnd.Text());
}

TEST_F(EnvironmentBlockTest, RefusesABlockWhoseTextWouldNotFitItsBuffer) {
    BlockBuilder block;
    block.Add(7, 0, Bytes(48000, 1)).End();
    ASSERT_TRUE(Decode(block.Text()));
    EXPECT_FALSE(EncodeEnvironmentBlock(m_data).has_value());

    BlockBuilder huge;
    huge.Add(7, 0, Bytes(40000, 1)).Add(7, 0, Bytes(40000, 1)).End();
    EXPECT_FALSE(Decode(huge.Text()));
}

}  // namespace
}  // namespace varnow
