#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "firmware/FirmwareUpgrade.h"
#include "link/CommandStates.h"
#include "package/LoadedPackage.h"
#include "support/BoardFixture.h"
#include "support/TempFolder.h"
#include "upload/UploadChain.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class FirmwareUpgradeTest : public BoardFixture {
protected:
    void Connect() {
        writer.Connect();
        loop.RunUntilIdle();
        host.Reset();
        m_start = written().size();
    }
    FirmwareOutcome Upgrade(const Bytes& firmware) {
        package.SetPackagePath(folder.Write("firmware.qvk", firmware));
        writer.StartUpload(package);
        loop.RunUntilIdle();
        return writer.lastFirmwareOutcome();
    }
    std::string Sent() const { return written().substr(m_start); }

    testing::TempFolder folder;
    LoadedPackage package;
    std::size_t m_start = 0;
};

TEST_F(FirmwareUpgradeTest, UpgradesThroughTheBootLoaderAndReconnectsAfterwards) {
    Connect();
    const Bytes firmware = samples::MakeFirmwareImage({.bytes = 10000});
    EXPECT_EQ(Upgrade(firmware), FirmwareOutcome::Transmitted);
    EXPECT_EQ(board.firmware(), firmware);
    EXPECT_EQ(board.testBlock(), Bytes(firmware.begin(), firmware.begin() + 512));
    EXPECT_EQ(host.firmwareProgress(), (std::vector<long long>{4096, 8192, 10000}));
    EXPECT_TRUE(host.firmwareClosedByTool()) << "closed once the board was back";
    EXPECT_EQ(host.messageIds(), std::vector<int>{157});
    EXPECT_EQ(writer.connectOutcome(), ConnectOutcome::Identified);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_FALSE(writer.session().isp);
    EXPECT_FALSE(board.ispMode());
    const std::string sent = Sent();
    const std::string firmwareText(firmware.begin(), firmware.end());
    const std::string expectedStart = "reboot isp 100\r";
    EXPECT_TRUE(sent.starts_with(expectedStart));
    const std::string dialogue = "tf 0\r" + firmwareText.substr(0, 512) +
                                 "uf 7b19\ref 3de4\ruf 7b19\rpf 92a6\r" + firmwareText + "rs 10\r";
    EXPECT_NE(sent.find(dialogue), std::string::npos);
    EXPECT_NE(sent.find("\rset esc 02\r", sent.find("rs 10\r")), std::string::npos)
        << "connected again";
}

TEST_F(FirmwareUpgradeTest, StartsWithTheTestBlockWhenTheBoardIsAlreadyInItsBootLoader) {
    board.config().ispMode = true;
    Connect();
    ASSERT_TRUE(writer.session().isp);
    const Bytes firmware = samples::MakeFirmwareImage({.bytes = 300});
    EXPECT_EQ(Upgrade(firmware), FirmwareOutcome::Transmitted);
    EXPECT_TRUE(Sent().starts_with("tf 0\r"));
    EXPECT_EQ(Sent().find("reboot isp"), std::string::npos);
    EXPECT_EQ(board.testBlock(), firmware) << "a short file is its own test block";
}

TEST_F(FirmwareUpgradeTest, SendsNothingForAFirmwareFileWithABadCrc) {
    Connect();
    Bytes firmware = samples::MakeFirmwareImage({.bytes = 1000});
    firmware[500] ^= 1;
    Upgrade(firmware);
    EXPECT_EQ(host.firmwareWindows(), 0);
    EXPECT_EQ(host.messages()[0].text, "File is incorrect.");
    EXPECT_TRUE(Sent().empty());

    // The window checks again by itself.
    writer.RunFirmwareUpgrade(package.packagePath());
    EXPECT_EQ(writer.lastFirmwareOutcome(), FirmwareOutcome::FileRefused);
    EXPECT_TRUE(Sent().empty());
}

TEST_F(FirmwareUpgradeTest, FailsWhenAGuardedStepGetsNoAnswerWithinFiveSeconds) {
    struct Case {
        const char* ignored;
        bool bootLoader;
    };
    const Case cases[] = {{"reboot isp", false}, {"tf 0", true}, {"pf 92a6", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.ignored);
        writer.Disconnect();
        board.config().ispMode = c.bootLoader;
        board.Restart();
        board.faults() = {};
        board.faults().ignoredCommands = {c.ignored};
        Connect();
        const std::uint64_t start = loop.NowMs();
        EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 2000})), FirmwareOutcome::Failed);
        EXPECT_EQ(host.messageIds(), std::vector<int>{158});
        EXPECT_GE(loop.NowMs() - start, 5000u);
        EXPECT_EQ(writer.channel().state(), kStateIdle);
    }
}

TEST_F(FirmwareUpgradeTest, FailsWhenThePortClosesDuringTheImage) {
    board.config().ispMode = true;
    Connect();
    std::size_t imageBytes = 0;
    bool programming = false;
    port.SetWriteTap([&](ByteView bytes) {
        if (AsText(bytes) == "pf 92a6\r") {
            programming = true;
        } else if (programming && (imageBytes += bytes.size()) >= 8192) {
            port.Unplug();
        }
    });
    EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 20000})), FirmwareOutcome::Failed);
    EXPECT_EQ(host.messageIds(), std::vector<int>{158});
    EXPECT_TRUE(board.firmware().empty());
}

TEST_F(FirmwareUpgradeTest, IgnoresTheBootLoadersAnswerToALateProbeDuringTheTest) {
    board.config().ispMode = true;
    Connect();
    port.SetWriteTap([&](ByteView bytes) {
        if (AsText(bytes) == "tf 0\r") {
            board.SendUnsolicited("100");  // the answer to a CR written just before
        }
    });
    EXPECT_EQ(Upgrade(samples::MakeFirmwareImage({.bytes = 3000})), FirmwareOutcome::Transmitted);
}

TEST_F(FirmwareUpgradeTest, RebootReplyClearsTheIspFlag) {
    board.config().ispMode = true;
    Connect();
    writer.channel().SetState(kStateProgramFlash);
    board.SendUnsolicited("r 10");
    loop.RunUntilIdle();
    EXPECT_FALSE(writer.session().isp);
    EXPECT_EQ(writer.channel().state(), kStateIdle);
}

}  // namespace
}  // namespace varnow
