// The certificate block's read ("send envc") and write ("recv envc") against the simulated
// board, on the virtual clock.
#include <gtest/gtest.h>

#include "CertificateImage.h"
#include "certs/CertificateBlock.h"
#include "support/BoardFixture.h"
#include "support/TestCertificates.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class CertificateTransferTest : public BoardFixture {
protected:
    static void SetUpTestSuite() { s_key.emplace(testing::NewRsaKey(1024)); }
    static void TearDownTestSuite() { s_key.reset(); }

    void SetUp() override {
        board.config().latencyMs = 1;
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        host.Reset();
    }
    std::pair<CertificateReadOutcome, CertificateRecordStore> Read() {
        std::optional<std::pair<CertificateReadOutcome, CertificateRecordStore>> result;
        session.ReadCertificates([&](const auto& outcome, CertificateRecordStore store) {
            result.emplace(outcome.code, std::move(store));
        });
        loop.RunUntil([&] { return result.has_value(); });
        EXPECT_TRUE(result.has_value()) << "the read never ended";
        return result.value_or(std::pair<CertificateReadOutcome, CertificateRecordStore>{});
    }
    CertificateStoreResult Store(const TlsIdentity& identity) {
        const CertificateRecordStore current = Read().second;
        host.Reset();
        const auto result = Run<CertificateStoreResult>(
            [&](auto done) { session.StoreCertificate(identity, current, done); });
        EXPECT_TRUE(result.has_value()) << "the store never ended";
        return result.value_or(CertificateStoreResult{});
    }
    TlsIdentity Identity() const {
        return TlsIdentity{testing::NewCertificate(*s_key, {{"CN", "board"}}, 1893456000), *s_key};
    }

    static inline std::optional<PrivateKey> s_key;
};

TEST_F(CertificateTransferTest, AReadEndsWithARecordStoreWhateverTheBoardAnswers) {
    struct Case {
        const char* name;
        void (*fault)(sim::BoardFaults&);
        CertificateReadOutcome outcome;
        bool block;
    };
    const Case cases[] = {
        {"the factory block", [](sim::BoardFaults&) {}, CertificateReadOutcome::Read, true},
        {"501 ", [](sim::BoardFaults& f) { f.noCertificates = true; },
         CertificateReadOutcome::NoBlock, false},
        {"silence", [](sim::BoardFaults& f) { f.ignoredCommands = {"send envc"}; },
         CertificateReadOutcome::TimedOut, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        board.faults() = {};
        c.fault(board.faults());
        const auto [outcome, store] = Read();
        EXPECT_EQ(outcome, c.outcome);
        EXPECT_EQ(store.length > 0, c.block);
        EXPECT_TRUE(host.messageIds().empty()) << "a read says nothing itself";
        Settle();
    }
}

TEST_F(CertificateTransferTest, TheBoardsFirstReplyToTheBlockDecides) {
    struct Case {
        const char* reply;
        CertificateStoreOutcome outcome;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"410 stored", CertificateStoreOutcome::Stored, {kMsgCertificateSaved}},
        {"412 stored", CertificateStoreOutcome::Stored, {kMsgCertificateSaved}},
        {"600 stored", CertificateStoreOutcome::Stored, {kMsgCertificateSaved}},
        {"501 locked", CertificateStoreOutcome::Refused, {kMsgSaveCertificateFailed}},
        {"", CertificateStoreOutcome::TimedOut, {kMsgSaveCertificateFailed}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        board.SetCertificates(sim::certificates::FactoryBlock());
        board.faults().certificateReply = c.reply;
        const TlsIdentity identity = Identity();
        const CertificateStoreResult result = Store(identity);
        EXPECT_EQ(result.outcome.code, c.outcome);
        EXPECT_EQ(host.messageIds(), c.messages);
        EXPECT_EQ(HoldsCertificate(result.records, identity.certificate.Der()),
                  c.outcome == CertificateStoreOutcome::Stored)
            << "the records are read back after every write";
        Settle();
    }
}

TEST_F(CertificateTransferTest, TheBlockCarriesTheBoardsOwnRecordsAndPassesItsChecks) {
    const TlsIdentity identity = Identity();
    const CertificateStoreResult result = Store(identity);
    ASSERT_EQ(result.outcome.code, CertificateStoreOutcome::Stored);
    const Bytes& block = board.certificates();
    EXPECT_TRUE(sim::certificates::Problem(block).empty());
    // Key record, certificate record, then the factory block's 0x07 and 0x08 records.
    std::vector<int> subtypes;
    for (std::size_t at = 16; at + 4 <= block.size(); at += ReadLe16(block, at + 2)) {
        subtypes.push_back(block[at + 1]);
    }
    EXPECT_EQ(subtypes, (std::vector<int>{0x00, 0x02, 0x07, 0x08}));
    const std::string sent = written();
    EXPECT_NE(sent.find("recv envc\r"), std::string::npos);
    EXPECT_EQ(sent.substr(sent.rfind("recv envc\r")).find("send envc\r") != std::string::npos, true)
        << "read back after the write";
}

TEST_F(CertificateTransferTest, TenStalledWritesAreWaitedOutTheEleventhEndsTheWrite) {
    for (const int stalls : {10, 11}) {
        SCOPED_TRACE(stalls);
        board.SetCertificates(sim::certificates::FactoryBlock());
        bool textNext = false;
        port.SetWriteTap([this, stalls, &textNext](ByteView bytes) {
            if (textNext) {
                port.StallWrites(stalls);  // the text's first write and those after it
                textNext = false;
            }
            textNext = AsText(bytes) == "recv envc\r";
        });
        const CertificateStoreResult result = Store(Identity());
        port.SetWriteTap({});
        if (stalls == 10) {
            EXPECT_EQ(result.outcome.code, CertificateStoreOutcome::Stored);
        } else {
            EXPECT_EQ(result.outcome.code, CertificateStoreOutcome::Stalled);
            EXPECT_EQ(host.messageIds(), std::vector<int>{kMsgSaveCertificateFailed})
                << "told once";
        }
        Settle();
    }
}

TEST_F(CertificateTransferTest, AKeyThatIsNotRsaIsRefusedBeforeAnythingIsWritten) {
    const PrivateKey ec = testing::NewEcKey();
    const TlsIdentity identity{testing::NewCertificate(ec, {{"CN", "ec"}}, 1893456000), ec};
    const std::size_t before = written().size();
    const CertificateStoreResult result = Store(identity);
    EXPECT_EQ(result.outcome.code, CertificateStoreOutcome::KeyNotRsa);
    EXPECT_EQ(host.messageIds(), std::vector<int>{kMsgKeyNotRsa});
    EXPECT_EQ(written().substr(before).find("recv envc"), std::string::npos);
}

}  // namespace
}  // namespace varnow
