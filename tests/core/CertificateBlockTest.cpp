#include <gtest/gtest.h>

#include "certs/CertificateBlock.h"
#include "crypto/Crc16.h"
#include "support/RecordingMessageHost.h"

namespace varnow {
namespace {

using testing::RecordingMessenger;

Bytes Prime(std::size_t bytes, std::uint8_t fill = 0xC3) {
    Bytes prime(bytes, fill);
    prime[0] = 0x80 | fill;
    return prime;
}

Bytes Der(std::size_t bytes) {
    Bytes der(bytes);
    for (std::size_t i = 0; i < bytes; ++i) {
        der[i] = static_cast<std::uint8_t>(i);
    }
    return der;
}

Bytes Record(std::uint8_t subtype, const Bytes& content) {
    Bytes record{0x0B, subtype, 0, 0};
    WriteLe16(record, 2, static_cast<std::uint16_t>(content.size() + 6));
    record.insert(record.end(), content.begin(), content.end());
    const std::uint16_t crc = Crc16(record);
    record.push_back(static_cast<std::uint8_t>(crc & 0xFF));
    record.push_back(static_cast<std::uint8_t>(crc >> 8));
    return record;
}

Bytes Block(const std::vector<Bytes>& records) {
    Bytes block(16, 0);
    std::copy_n("eVnC", 4, block.begin());
    std::size_t total = 16;
    for (const auto& r : records) {
        total += r.size();
    }
    WriteLe16(block, 4, static_cast<std::uint16_t>(total));
    WriteLe16(block, 6, Crc16(ByteView(block).first(6)));
    for (const auto& r : records) {
        block.insert(block.end(), r.begin(), r.end());
    }
    return block;
}

class CertificateBlockTest : public ::testing::Test {
protected:
    std::optional<Bytes> Pack(const Bytes& p, const Bytes& q, const Bytes& der,
                              const CertificateRecordStore& store = {}) {
        return PackCertificateBlock(p, q, der, store, m_ui.messenger);
    }
    RecordingMessenger m_ui;
};

TEST_F(CertificateBlockTest, PacksKeyAndCertificateRecords) {
    const auto block = Pack(Prime(64), Prime(64, 0x5A), Der(800));
    ASSERT_TRUE(block.has_value());
    ASSERT_EQ(block->size(), 1088u);
    EXPECT_EQ(AsText(ByteView(*block).first(4)), "eVnC");
    EXPECT_EQ(ReadLe16(*block, 4), 1088);
    EXPECT_EQ(ReadLe16(*block, 6), Crc16(ByteView(*block).first(6)));
    EXPECT_EQ(Bytes(block->begin() + 8, block->begin() + 16), Bytes(8, 0));

    const ByteView key = ByteView(*block).subspan(16, 264);
    EXPECT_EQ(Bytes(key.begin(), key.begin() + 4), (Bytes{0x0B, 0x00, 0x08, 0x01}));
    EXPECT_EQ(Bytes(key.begin() + 4, key.begin() + 68), Bytes(64, 0));
    EXPECT_EQ(Bytes(key.begin() + 68, key.begin() + 132), Prime(64));
    EXPECT_EQ(Bytes(key.begin() + 132, key.begin() + 196), Bytes(64, 0));
    EXPECT_EQ(Bytes(key.begin() + 196, key.begin() + 260), Prime(64, 0x5A));
    EXPECT_EQ(ReadLe16(key, 260), 0);
    EXPECT_EQ(ReadLe16(key, 262), Crc16(key.first(262)));

    const ByteView cert = ByteView(*block).subspan(280, 808);
    EXPECT_EQ(ReadLe16(cert, 2), 808);
    EXPECT_EQ(Bytes(cert.begin() + 4, cert.begin() + 804), Der(800));
    EXPECT_EQ(Bytes(cert.begin() + 804, cert.begin() + 806), Bytes(2, 0)) << "padding";
    EXPECT_EQ(ReadLe16(cert, 806), Crc16(cert.first(806)));
}

TEST_F(CertificateBlockTest, PadsTheCertificateRecordToFourBytes) {
    struct Case {
        std::size_t der;
        std::size_t recordLength;
    };
    const Case cases[] = {{800, 808}, {802, 808}, {803, 812}, {1, 8}, {2, 8}, {3, 12}};
    for (const auto& c : cases) {
        const auto block = Pack(Prime(64), Prime(64), Der(c.der));
        ASSERT_TRUE(block.has_value());
        EXPECT_EQ(ReadLe16(*block, 280 + 2), c.recordLength) << c.der << " DER bytes";
        EXPECT_EQ(block->size(), 16 + 264 + c.recordLength);
    }
}

TEST_F(CertificateBlockTest, AcceptsPrimesUpTo128Bytes) {
    EXPECT_TRUE(Pack(Prime(128), Prime(128), Der(10)).has_value());
    Bytes padded = Prime(128);
    padded.insert(padded.begin(), 3, 0);  // leading zeros do not count
    EXPECT_TRUE(Pack(padded, Prime(100), Der(10)).has_value());
    EXPECT_TRUE(m_ui.host.messages().empty());

    EXPECT_FALSE(Pack(Prime(129), Prime(64), Der(10)).has_value());
    EXPECT_FALSE(Pack(Prime(64), Prime(129), Der(10)).has_value());
    EXPECT_EQ(m_ui.host.texts(), (std::vector<std::string>{"Invalid RSA P length [129]",
                                                           "Invalid RSA Q length [129]"}));
}

TEST_F(CertificateBlockTest, CarriesOnlyRecords07And08InTheirOrder) {
    const Bytes r07 = Record(0x07, {7, 7, 7});
    const Bytes r08 = Record(0x08, {8, 8, 8, 8, 8});
    const auto store = LoadCertificateRecords(
        Block({Record(0x00, Bytes(258, 1)), Record(0x02, Der(40)), r07, Record(0x05, {5}), r08}));
    ASSERT_GT(store.length, 0);
    const auto block = Pack(Prime(64), Prime(64), Der(100), store);
    ASSERT_TRUE(block.has_value());
    const std::size_t certLength = 108;
    Bytes expectedTail = r07;
    expectedTail.insert(expectedTail.end(), r08.begin(), r08.end());
    ASSERT_EQ(block->size(), 16 + 264 + certLength + expectedTail.size());
    EXPECT_EQ(Bytes(block->begin() + 16 + 264 + certLength, block->end()), expectedTail);
    EXPECT_EQ(ReadLe16(*block, 4), block->size());
}

TEST_F(CertificateBlockTest, CarriesNothingFromABlockWithABadHeader) {
    Bytes old = Block({Record(0x07, {7})});
    old[6] ^= 1;
    const auto store = LoadCertificateRecords(old);
    EXPECT_EQ(store.length, -1);
    EXPECT_EQ(FindCertificateRecord(store).result, 0);
    EXPECT_EQ(Pack(Prime(64), Prime(64), Der(100), store)->size(), 16u + 264 + 108);

    Bytes wrongMagic = Block({});
    wrongMagic[3] = 'S';
    wrongMagic.resize(20, 0);
    EXPECT_EQ(LoadCertificateRecords(wrongMagic).length, -1);
}

TEST_F(CertificateBlockTest, TakesSixteenBytesOrFewerAsNoBlock) {
    EXPECT_EQ(LoadCertificateRecords(Block({})).length, 0);
    EXPECT_EQ(LoadCertificateRecords(Bytes{}).length, 0);
    EXPECT_EQ(LoadCertificateRecords(Bytes(65537, 0)).length, 0) << "larger than its buffer";
}

TEST_F(CertificateBlockTest, FindsTheCertificateRecordOrTellsWhatIsWrong) {
    struct Case {
        const char* name;
        Bytes area;  // the records after the header
        int result;
    };
    Bytes padded = Der(803);
    padded.resize(806, 0);
    const Bytes cert = Record(0x02, padded);
    Bytes badCrc = cert;
    badCrc.back() ^= 1;
    Bytes zeroLength = Record(0x07, {1});
    WriteLe16(zeroLength, 2, 0);
    Bytes shortCert = Record(0x02, {});
    WriteLe16(shortCert, 2, 5);
    auto join = [](std::initializer_list<Bytes> parts) {
        Bytes all;
        for (const auto& p : parts) {
            all.insert(all.end(), p.begin(), p.end());
        }
        return all;
    };
    const Case cases[] = {
        {"after other records", join({Record(0x00, Bytes(258, 1)), Record(0x07, {1}), cert}), 806},
        {"no certificate record", join({Record(0x00, Bytes(258, 1))}), 0},
        {"record CRC wrong", badCrc, -1},
        {"certificate shorter than 6", join({shortCert, Bytes(8, 0)}), -1},
        {"certificate past the end", Bytes(cert.begin(), cert.end() - 10), -1},
        {"other record of length 0 before it", join({zeroLength, cert}), -1},
        {"cut-off record head", join({Record(0x07, {1}), Bytes{0x0B, 0x02}}), -1},
    };
    for (const auto& c : cases) {
        CertificateRecordStore store;
        store.records = c.area;
        store.length = static_cast<int>(c.area.size());
        const CertificateLookup lookup = FindCertificateRecord(store);
        EXPECT_EQ(lookup.result, c.result) << c.name;
        if (c.result > 0) {
            EXPECT_EQ(Bytes(lookup.content.begin(), lookup.content.begin() + 803), Der(803));
            EXPECT_EQ(lookup.content.size(), 806u) << "padding comes along";
        }
    }
}

TEST_F(CertificateBlockTest, RefusesABlockLargerThan65535Bytes) {
    EXPECT_TRUE(Pack(Prime(64), Prime(64), Der(65246)).has_value()) << "block of 65532 bytes";
    EXPECT_FALSE(Pack(Prime(64), Prime(64), Der(65247)).has_value()) << "block of 65536 bytes";
    ASSERT_EQ(m_ui.host.messages().size(), 1u);
    EXPECT_EQ(m_ui.host.messages()[0].stringId, 202);
}

}  // namespace
}  // namespace varnow
