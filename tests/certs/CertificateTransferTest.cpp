// The certificate block's read ("send envc") and write ("recv envc") against the simulated
// board, on the virtual clock.
#include <gtest/gtest.h>

#include "CertificateImage.h"
#include "app/OutcomeText.h"
#include "certs/CertificateBlock.h"
#include "ops/CertificateOperations.h"
#include "support/BoardFixture.h"
#include "support/TestCertificates.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class CertificateTransferTest : public BoardFixture {
protected:
    static void SetUpTestSuite() { s_key.emplace(testing::NewRsaKey(2048)); }
    static void TearDownTestSuite() { s_key.reset(); }

    void SetUp() override {
        board.config().latencyMs = 1;
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        host.Reset();
    }
    std::pair<CertificateReadOutcome, CertificateRecordStore> Read() {
        const CertificateReadResult result = Run<ReadCertificateOperation>()->result();
        return {result.outcome.code, result.records};
    }
    IdentityResult Store(const TlsIdentity& identity) {
        host.Reset();
        return Run<StoreIdentityOperation>(identity, StoreIdentityOperation::Options{})->result();
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
        IdentityOutcome outcome;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"410 stored", IdentityOutcome::Stored, {kMsgCertificateSaved}},
        {"412 stored", IdentityOutcome::Stored, {kMsgCertificateSaved}},
        {"600 stored", IdentityOutcome::Stored, {kMsgCertificateSaved}},
        {"501 locked", IdentityOutcome::Refused, {kMsgSaveCertificateFailed}},
        {"", IdentityOutcome::Refused, {kMsgSaveCertificateFailed}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply);
        board.SetCertificates(sim::certificates::FactoryBlock());
        board.faults().certificateReply = c.reply;
        const TlsIdentity identity = Identity();
        const IdentityResult result = Store(identity);
        EXPECT_EQ(result.outcome.code, c.outcome);
        EXPECT_EQ(host.messageIds(), c.messages);
        EXPECT_EQ(HoldsCertificate(result.after, identity.certificate.Der()),
                  c.outcome == IdentityOutcome::Stored)
            << "the records are read back after every write";
        Settle();
    }
}

TEST_F(CertificateTransferTest, TheBlockCarriesTheBoardsOwnRecordsAndPassesItsChecks) {
    const TlsIdentity identity = Identity();
    const IdentityResult result = Store(identity);
    ASSERT_EQ(result.outcome.code, IdentityOutcome::Stored);
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
        const IdentityResult result = Store(Identity());
        port.SetWriteTap({});
        if (stalls == 10) {
            EXPECT_EQ(result.outcome.code, IdentityOutcome::Stored);
        } else {
            // The board waits for the rest of the text, so it cannot be read back: it holds its
            // old block, but nobody can know.
            EXPECT_EQ(result.outcome.code, IdentityOutcome::Unconfirmed);
            EXPECT_EQ(host.messageIds(), std::vector<int>{kMsgSaveCertificateFailed})
                << "told once";
        }
        Settle();
    }
}

TEST_F(CertificateTransferTest, AnIdentityThatCouldNotSignIsRefusedBeforeAnythingIsWritten) {
    const PrivateKey ec = testing::NewEcKey();
    const PrivateKey other = testing::NewRsaKey(2048);
    const PrivateKey small = testing::NewRsaKey(1024);
    const Certificate mine = testing::NewCertificate(*s_key, {{"CN", "board"}}, 1893456000);
    Bytes flipped = mine.Der();
    flipped[flipped.size() - 20] ^= 0x01;  // inside the signature
    const std::optional<Certificate> damaged = Certificate::FromDer(flipped);
    ASSERT_TRUE(damaged.has_value());
    struct Case {
        const char* what;
        TlsIdentity identity;
        IdentityOutcome outcome;
    };
    const Case cases[] = {
        {"an EC key",
         {testing::NewCertificate(ec, {{"CN", "ec"}}, 1893456000), ec},
         IdentityOutcome::KeyNotRsa},
        {"another certificate's key", {mine, other}, IdentityOutcome::KeyMismatch},
        {"a key of 1024 bits",
         {testing::NewCertificate(small, {{"CN", "s"}}, 1893456000), small},
         IdentityOutcome::KeyTooShort},
        {"a certificate with one byte flipped",
         {*damaged, *s_key},
         IdentityOutcome::CertificateDamaged},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes held = board.certificates();
        const std::size_t before = written().size();
        const IdentityResult result = Store(c.identity);
        EXPECT_EQ(result.outcome.code, c.outcome);
        EXPECT_EQ(written().substr(before).find("recv envc"), std::string::npos);
        EXPECT_EQ(board.certificates(), held);
        EXPECT_TRUE(DescribeIdentity(result).has_value());
        Settle();
    }
}

TEST_F(CertificateTransferTest, AnAbortDuringThePauseBeforeTheBlockSendsNothingMore) {
    const Bytes held = board.certificates();
    auto store = std::make_shared<StoreIdentityOperation>(session, Identity(),
                                                          StoreIdentityOperation::Options{});
    bool ended = false;
    ASSERT_TRUE(session.Run(store, [&ended] { ended = true; }));
    loop.RunUntil([this] { return written().find("recv envc") != std::string::npos; });
    const std::size_t atAbort = written().size();
    session.Abort();
    // Connected again at once: a pause left armed would send the block on the new connection.
    ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
    loop.RunFor(5000);
    const std::string since = written().substr(atAbort);
    EXPECT_EQ(since.find("recv envc"), std::string::npos);
    EXPECT_LT(since.size(), 200u) << "no block text: " << since;
    EXPECT_FALSE(ended) << "an abandoned operation reports nothing";
    EXPECT_EQ(board.certificates(), held);
}

}  // namespace
}  // namespace varnow
