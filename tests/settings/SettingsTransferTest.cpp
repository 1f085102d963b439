#include <gtest/gtest.h>

#include <functional>

#include "EnvironmentImage.h"
#include "base64/Base64Encoder.h"
#include "files/RegularFile.h"
#include "link/CommandStates.h"
#include "ops/PasswordOperation.h"
#include "ops/RebootOperation.h"
#include "ops/SettingsOperations.h"
#include "settings/EnvironmentBlock.h"
#include "settings/NetworkPage.h"
#include "settings/PasswordChange.h"
#include "settings/SettingsBackup.h"
#include "support/BoardFixture.h"
#include "support/TempFolder.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class SettingsTransferTest : public BoardFixture {
protected:
    SettingsTransferTest() : BoardFixture() {}
    void SetUp() override {
        board.config().latencyMs = 1;
        platform.SetAppDataFolder(folder.path());
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        host.Reset();
    }
    std::pair<SettingsReadOutcome, EnvironmentData> Read() {
        const SettingsReadResult result = Run<ReadSettingsOperation>()->result();
        return {result.outcome.code, result.data};
    }
    // Writes the edited settings as the Settings dialog does: over the block it read.
    SettingsResult Write(EnvironmentData data) {
        SettingsChange change;
        change.kind = SettingsChange::Kind::Edited;
        change.edited = std::move(data);
        return Run<ApplySettingsOperation>(std::move(change))->result();
    }

    testing::TempFolder folder;
};

TEST_F(SettingsTransferTest, ReadsTheBlockEditsItAndTheBoardHoldsWhatWasSent) {
    auto [read, data] = Read();
    ASSERT_EQ(read, SettingsReadOutcome::Read);
    EXPECT_TRUE(data.wlanPresent);
    EXPECT_EQ(data.blockCopy, board.environment());
    EXPECT_EQ(AsText(data.store.productName), "VARNO-104K demo board");
    const Bytes asRead = data.blockCopy;
    NetworkPage page;
    page.Fill(data.store);
    page.Type(NetworkPage::kAddress, {10, 1, 2, 3});
    ASSERT_TRUE(page.Collect(data.store).ok());
    const SettingsResult written = Write(data);
    EXPECT_EQ(written.outcome.code, SettingsOutcome::Written);
    EXPECT_EQ(written.held, SettingsHeld::New) << "read back and compared";
    EXPECT_EQ(board.environment(), written.sent) << "byte for byte";
    EXPECT_EQ(written.sent.size(), asRead.size()) << "only patched, never rebuilt";
    EXPECT_TRUE(sim::environment::Problem(board.environment()).empty());
    std::string problem;
    const UserFile file = ReadRegularFile(written.backup, SettingsBackup::kLargestFile);
    ASSERT_TRUE(file.ok()) << file.problem;
    const auto backup = SettingsBackup::Parse(file.bytes, problem);
    ASSERT_TRUE(backup.has_value()) << problem;
    EXPECT_EQ(backup->block, asRead) << "the block as read, saved before the write";
    EXPECT_EQ(backup->mcuId, board.config().mcuId);

    auto [again, reread] = Read();
    ASSERT_EQ(again, SettingsReadOutcome::Read);
    EXPECT_EQ((Ipv4Address{reread.store.ipv4Address}), (Ipv4Address{10, 1, 2, 3}));
}

// The text goes out in chunks of at most 1024 bytes, then "\r\r". (Base64 text with its line
// breaks is never exactly 1024 or 1025 bytes long: 1014 and 1026 are the nearest.)
TEST_F(SettingsTransferTest, SendsTheTextInChunksOfAtMost1024Bytes) {
    std::vector<std::size_t> lengths;
    for (std::size_t extra = 0; extra < 2000 && lengths.size() < 2; ++extra) {
        const Bytes block = sim::environment::FactoryBlock({.futureRecordBytes = extra});
        const std::size_t length = EnvironmentText(block)->size();
        if ((lengths.empty() && length > 1000 && length <= 1024) ||
            (!lengths.empty() && length > 1024)) {
            lengths.push_back(length);
            board.SetEnvironment(block);
            auto [read, data] = Read();
            ASSERT_EQ(read, SettingsReadOutcome::Read);
            data.store.ipv4Gateway = {10, 0, 0, static_cast<std::uint8_t>(lengths.size())};
            std::vector<std::size_t> writes;
            bool sending = false;
            port.SetWriteTap([&](ByteView bytes) {
                if (AsText(bytes) == "recv envs\r") {
                    sending = true;
                } else if (AsText(bytes) == "send envs\r") {
                    sending = false;  // the read-back
                } else if (sending) {
                    writes.push_back(bytes.size());
                }
            });
            EXPECT_EQ(Write(data).outcome.code, SettingsOutcome::Written);
            port.SetWriteTap({});
            const std::vector<std::size_t> expected =
                length <= 1024 ? std::vector<std::size_t>{length, 2}
                               : std::vector<std::size_t>{1024, length - 1024, 2};
            EXPECT_EQ(writes, expected) << length;
        }
    }
    ASSERT_EQ(lengths.size(), 2u);
}

TEST_F(SettingsTransferTest, EndsEveryWriteWithAnOutcomeWhateverTheBoardAnswers) {
    struct Case {
        const char* name;
        void (*fault)(sim::BoardFaults&);
        SettingsOutcome outcome;
        bool stored;
    };
    const Case cases[] = {
        {"a second 600 ", [](sim::BoardFaults& f) { f.settingsTwice600 = true; },
         SettingsOutcome::Written, true},
        {"412 before 600 ", [](sim::BoardFaults& f) { f.settingsEarly412 = true; },
         SettingsOutcome::NotSent, false},
        {"501 to recv envs", [](sim::BoardFaults& f) { f.settingsRefused = true; },
         SettingsOutcome::NotSent, false},
        {"silence", [](sim::BoardFaults& f) { f.ignoredCommands = {"recv envs"}; },
         SettingsOutcome::NotSent, false},
    };
    std::uint8_t gateway = 250;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        board.faults() = {};
        auto [read, data] = Read();
        ASSERT_EQ(read, SettingsReadOutcome::Read);
        data.store.ipv4Gateway = {10, 0, 0, gateway++};
        const Bytes before = board.environment();
        c.fault(board.faults());
        const std::size_t writtenBefore = written().size();
        const SettingsResult result = Write(data);
        EXPECT_EQ(result.outcome.code, c.outcome);
        EXPECT_EQ(board.environment() != before, c.stored);
        const std::string sent = written().substr(writtenBefore);
        EXPECT_EQ(sent.find("\r\r") != std::string::npos, c.stored) << "the block went once or not";
        Settle();
    }
}

TEST_F(SettingsTransferTest, AReadEndsWithAMessageWhenTheBlockCannotBeHad) {
    struct Case {
        const char* name;
        void (*fault)(sim::SimBoard&);
        SettingsReadOutcome outcome;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"silence",
         [](sim::SimBoard& b) { b.faults().ignoredCommands = {"send envs"}; },
         SettingsReadOutcome::TimedOut,
         {147}},
        {"an empty block",
         [](sim::SimBoard& b) { b.SetEnvironment({}); },
         SettingsReadOutcome::Undecodable,
         {148, 147}},
        {"a damaged block",
         [](sim::SimBoard& b) {
             Bytes block = b.environment();
             block[20] ^= 1;
             b.SetEnvironment(block);
         },
         SettingsReadOutcome::Undecodable,
         {147}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        host.Reset();
        board.faults() = {};
        c.fault(board);
        EXPECT_EQ(Read().first, c.outcome);
        EXPECT_EQ(host.messageIds(), c.messages);
        board.SetEnvironment(sim::environment::FactoryBlock({}));
    }
}

TEST_F(SettingsTransferTest, ARebootRestartsTheBoardAndConnectsAgain) {
    const std::size_t writtenBefore = written().size();
    const RestartResult returned = Run<RebootOperation>()->result();
    EXPECT_EQ(returned.outcome.code, RestartOutcome::Back);
    ASSERT_TRUE(returned.connect.has_value());
    EXPECT_EQ(returned.connect->code, ConnectOutcome::Identified);
    EXPECT_EQ(written().substr(writtenBefore, 15), "reboot sys 100\r");
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(SettingsTransferTest, ANewPasswordIsAskedAtTheNextConnectAndDeletingItEndsThat) {
    ASSERT_EQ(PasswordChange::Command("new secret", session.session().mcuId).size(), 91u);
    PasswordResult changed =
        Run<PasswordOperation>(PasswordRequest{"new secret", std::nullopt, true})->result();
    EXPECT_EQ(changed.outcome.code, PasswordOutcome::Set);
    EXPECT_TRUE(board.hasPassword());
    EXPECT_TRUE(session.session().login) << "it logged in with the new password";
    EXPECT_EQ(written().find("new secret"), std::string::npos) << "never on the line";

    changed = Run<PasswordOperation>(PasswordRequest{std::nullopt, "new secret", false})->result();
    EXPECT_EQ(changed.outcome.code, PasswordOutcome::Restarted);
    ASSERT_TRUE(changed.restart.has_value());
    EXPECT_FALSE(changed.restart->connect.has_value())
        << "the desktop tool does not connect by itself";
    EXPECT_FALSE(board.hasPassword());
    EXPECT_FALSE(port.IsOpen());
}

// The key is made from the MCU id: only an id read whole, the same before the command as at
// connect, is used; otherwise "reboot psk" is never sent and the board keeps its key.
TEST_F(SettingsTransferTest, APasswordIsSetOnlyFromAnMcuIdReadWholeTwice) {
    struct Case {
        const char* what;
        std::function<void()> fault;
        PasswordOutcome outcome;
    };
    const Case cases[] = {
        {"the id garbled on its way",
         [this] {
             board.faults().lineFault =
                 sim::LineFault{"get id mcu", 0, 0, sim::LineFault::Kind::Garble};
         },
         PasswordOutcome::McuIdUnsure},
        {"the id lost",
         [this] {
             board.faults().lineFault = sim::LineFault{"get id mcu", 0, 0};
         },
         PasswordOutcome::McuIdUnsure},
        {"another id than at connect",
         [this] { board.config().mcuId = "ffffffffffffffffffffffffffffffffffffffff"; },
         PasswordOutcome::McuIdUnsure},
        {"no answer", [this] { board.faults().ignoredCommands = {"get id mcu"}; },
         PasswordOutcome::TimedOut},
    };
    const std::string id = board.config().mcuId;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        board.faults() = {};
        board.config().mcuId = id;
        c.fault();
        const std::size_t before = written().size();
        const PasswordResult result =
            Run<PasswordOperation>(PasswordRequest{"new secret", std::nullopt, true})->result();
        EXPECT_EQ(result.outcome.code, c.outcome);
        EXPECT_EQ(written().find("reboot psk", before), std::string::npos);
        EXPECT_FALSE(board.hasPassword());
        Settle();
    }
}

}  // namespace
}  // namespace varnow
