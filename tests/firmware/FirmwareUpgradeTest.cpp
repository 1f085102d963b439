#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "link/CommandStates.h"
#include "ops/WritePackageOperation.h"
#include "package/LoadedPackage.h"
#include "support/BoardFixture.h"
#include "support/TempFolder.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class FirmwareUpgradeTest : public BoardFixture {
protected:
    void ConnectFresh() {
        Connect();
        host.Reset();
        m_start = written().size();
    }
    // Writes a firmware package as the Upload command does and waits for the outcome.
    FirmwareResult Upgrade(const Bytes& firmware) {
        package.SetPackagePath(folder.Write("firmware.qvk", firmware));
        m_write = Run<WritePackageOperation>(package, UploadOptions{});
        const WriteResult result = m_write->result();
        EXPECT_TRUE(result.firmware.has_value());
        return result.firmware.value_or(FirmwareResult{});
    }
    std::string Sent() const { return written().substr(m_start); }

    testing::TempFolder folder;
    LoadedPackage package;
    std::size_t m_start = 0;
    std::shared_ptr<WritePackageOperation> m_write;
};

TEST_F(FirmwareUpgradeTest, UpgradesThroughTheBootLoaderAndReconnectsAfterwards) {
    ConnectFresh();
    const Bytes firmware = samples::MakeFirmwareImage({.bytes = 10000});
    EXPECT_EQ(Upgrade(firmware).code, FirmwareOutcome::Upgraded);
    EXPECT_EQ(board.firmware(), firmware);
    EXPECT_EQ(board.testBlock(), Bytes(firmware.begin(), firmware.begin() + 512));
    EXPECT_EQ(host.firmwareProgress(), (std::vector<long long>{4096, 8192, 10000}));
    EXPECT_FALSE(host.firmwareWindowOpen()) << "closed once the board was back";
    EXPECT_EQ(host.messageIds(), std::vector<int>{157});
    EXPECT_EQ(session.lastConnect()->outcome.code, ConnectOutcome::Identified);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_FALSE(session.session().isp);
    EXPECT_FALSE(board.ispMode());
    const std::string sent = Sent();
    const std::string firmwareText(firmware.begin(), firmware.end());
    EXPECT_TRUE(sent.starts_with("reboot isp 100\r"));
    const std::string dialogue = "tf 0\r" + firmwareText.substr(0, 512) +
                                 "uf 7b19\ref 3de4\ruf 7b19\rpf 92a6\r" + firmwareText + "rs 10\r";
    EXPECT_NE(sent.find(dialogue), std::string::npos);
    EXPECT_NE(sent.find("\rset esc 02\r", sent.find("rs 10\r")), std::string::npos)
        << "connected again";
}

TEST_F(FirmwareUpgradeTest, StartsWithTheTestBlockWhenTheBoardIsAlreadyInItsBootLoader) {
    board.config().ispMode = true;
    ConnectFresh();
    ASSERT_TRUE(session.session().isp);
    const Bytes firmware = samples::MakeFirmwareImage({.bytes = 300});
    EXPECT_EQ(Upgrade(firmware).code, FirmwareOutcome::Upgraded);
    EXPECT_TRUE(Sent().starts_with("tf 0\r"));
    EXPECT_EQ(Sent().find("reboot isp"), std::string::npos);
    EXPECT_EQ(board.testBlock(), firmware) << "a short file is its own test block";
}

TEST_F(FirmwareUpgradeTest, SendsNothingForAFirmwareFileWithABadCrc) {
    ConnectFresh();
    Bytes firmware = samples::MakeFirmwareImage({.bytes = 1000});
    firmware[500] ^= 1;
    package.SetPackagePath(folder.Write("firmware.qvk", firmware));
    const WriteResult written = Run<WritePackageOperation>(package, UploadOptions{})->result();
    EXPECT_FALSE(written.firmware.has_value()) << "the window does not open";
    EXPECT_EQ(host.firmwareWindows(), 0);
    EXPECT_EQ(host.messages()[0].text, "File is incorrect.");
    EXPECT_TRUE(Sent().empty());

    // A firmware-only write checks it the same way.
    const WriteResult firmwareOnly =
        Run<WritePackageOperation>(package, UploadOptions{}, PackagePart::FirmwareOnly)->result();
    EXPECT_EQ(firmwareOnly.upload.code, UploadOutcome::PackageRefused);
    EXPECT_FALSE(firmwareOnly.firmware.has_value());
    EXPECT_TRUE(Sent().empty());
}

// The board (or its boot loader) never answers `command`: each guarded step ends the upgrade,
// the window is enabled again and says so.
TEST_F(FirmwareUpgradeTest, EndsWithAnOutcomeWhenAStepGetsNoAnswer) {
    struct Case {
        const char* command;
        bool bootLoader;
        std::uint64_t after;  // ms from the command to the outcome
    };
    const Case cases[] = {
        {"reboot isp", false, 5000}, {"tf 0", true, 5000},    {"uf 7b19", true, 60000},
        {"ef 3de4", true, 60000},    {"pf 92a6", true, 5000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        session.Disconnect();
        board.config().ispMode = c.bootLoader;
        board.Restart();
        board.faults() = {};
        ConnectFresh();
        board.faults().ignoredCommands = {c.command};
        std::uint64_t sentAt = 0;
        port.SetWriteTap([&](ByteView bytes) {
            if (sentAt == 0 && AsText(bytes).starts_with(c.command)) {
                sentAt = loop.NowMs();
            }
        });
        const FirmwareResult result = Upgrade(samples::MakeFirmwareImage({.bytes = 2000}));
        EXPECT_EQ(result.code, FirmwareOutcome::TimedOut);
        EXPECT_TRUE(result.command.starts_with(c.command)) << result.command;
        EXPECT_EQ(host.messageIds(), std::vector<int>{158});
        EXPECT_EQ(loop.NowMs() - sentAt, c.after);
        EXPECT_TRUE(host.firmwareWindow().enabled) << "its user can close it";
        EXPECT_TRUE(m_write->CloseFirmwareWindow());
        EXPECT_TRUE(session.channel().idle());
        port.SetWriteTap({});
    }
}

TEST_F(FirmwareUpgradeTest, FailsWhenThePortClosesDuringTheImage) {
    board.config().ispMode = true;
    ConnectFresh();
    std::size_t imageBytes = 0;
    bool programming = false;
    port.SetWriteTap([&](ByteView bytes) {
        if (AsText(bytes) == "pf 92a6\r") {
            programming = true;
        } else if (programming && (imageBytes += bytes.size()) >= 8192) {
            port.Unplug();
        }
    });
    EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 20000})).code,
              FirmwareOutcome::BoardLost);
    EXPECT_EQ(host.messageIds(), std::vector<int>{158});
    EXPECT_TRUE(board.firmware().empty());
}

TEST_F(FirmwareUpgradeTest, IgnoresTheBootLoadersAnswerToALateProbeDuringTheTest) {
    board.config().ispMode = true;
    ConnectFresh();
    port.SetWriteTap([&](ByteView bytes) {
        if (AsText(bytes) == "tf 0\r") {
            board.SendUnsolicited("100");  // the answer to a CR written just before
        }
    });
    EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 3000})).code, FirmwareOutcome::Upgraded);
}

TEST_F(FirmwareUpgradeTest, ARebootReplyClearsTheIspFlagWithoutEndingTheUpgrade) {
    board.config().ispMode = true;
    ConnectFresh();
    const Bytes firmware = samples::MakeFirmwareImage({.bytes = 3000});
    port.SetWriteTap([&](ByteView bytes) {
        if (bytes.size() == firmware.size()) {
            board.SendUnsolicited("r 10");  // after the image, before "204"
        }
    });
    EXPECT_EQ(Upgrade(firmware).code, FirmwareOutcome::Upgraded);
    EXPECT_FALSE(session.session().isp);
}

TEST_F(FirmwareUpgradeTest, FindsTheBoardAgainOnAPathThatNoNotificationCovers) {
    ConnectFresh();
    // The board's restarts reach the tool only through probes of its port's path.
    platform.SetDeviceNotifications(false);
    EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 5000})).code, FirmwareOutcome::Upgraded);
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(FirmwareUpgradeTest, ReportsABoardThatDoesNotComeBack) {
    board.config().ispMode = true;
    ConnectFresh();
    board.config().rebootMs = 3'600'000;  // the restarted board stays away
    EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 5000})).code, FirmwareOutcome::NotBack);
    EXPECT_EQ(host.messageIds(), std::vector<int>{204});
    EXPECT_TRUE(host.firmwareWindowOpen()) << "it still says the firmware was transmitted";
}

}  // namespace
}  // namespace varnow
