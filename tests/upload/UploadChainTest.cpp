#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "link/CommandStates.h"
#include "package/LoadedPackage.h"
#include "support/BoardFixture.h"
#include "support/TempFolder.h"
#include "base64/Base64Encoder.h"
#include "upload/UploadChain.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class UploadChainTest : public BoardFixture {
protected:
    void SetUp() override {
        board.config().latencyMs = 1;
        writer.Connect();
        loop.RunUntilIdle();
        ASSERT_EQ(writer.connectOutcome(), ConnectOutcome::Identified);
        host.Reset();
        m_connected = written().size();
    }
    // Uploads a package with the given bytes and lets everything it starts run to its end.
    UploadOutcome Upload(const Bytes& bytes) {
        package.SetPackagePath(folder.Write("package.qvk", bytes));
        writer.StartUpload(package);
        loop.RunUntilIdle();
        return writer.upload().outcome();
    }
    std::string Sent() const { return written().substr(m_connected); }

    testing::TempFolder folder;
    LoadedPackage package;
    std::size_t m_connected = 0;
};

Bytes Image(unsigned kib, std::uint8_t productId = 1) {
    return samples::MakeKofsImage({.sizeKib = kib, .productId = productId, .name = "uploaded"});
}

TEST_F(UploadChainTest, WritesTheImageAndTheBoardHoldsItByteForByte) {
    const Bytes image = Image(3);
    EXPECT_EQ(Upload(image), UploadOutcome::Verified);
    EXPECT_EQ(board.kofs(), image);
    const std::string text = EncodeBase64(image);
    EXPECT_EQ(Sent(), "send kofs head\rerase kofs\rrecv kofs\r" + text +
                          "\r\rget id kofs hash\rset state 0 run\r");
    EXPECT_TRUE(host.messages().empty());
    EXPECT_FALSE(host.userClosedProgress());
    EXPECT_EQ(host.progressTotal(), 4202);
    EXPECT_EQ(host.progressSteps(), (std::vector<int>{0, 4096, 4202})) << "4096 + 106";
    EXPECT_EQ(writer.channel().state(), kStateIdle);
}

TEST_F(UploadChainTest, SkipsTheProductCheckWhenTheBoardSendsNoHead) {
    board.Receive(AsBytes("erase kofs\r"));  // the board now holds no image
    loop.RunUntilIdle();
    m_connected = written().size();
    EXPECT_EQ(Upload(Image(1, 9)), UploadOutcome::Verified);
    EXPECT_EQ(board.kofs(), Image(1, 9));
}

TEST_F(UploadChainTest, StopsBeforeErasingWhenTheProductDiffers) {
    EXPECT_EQ(Upload(Image(1, 7)), UploadOutcome::ProductMismatch);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "Error[product ID]\r\nProductID : 1\r\nQVK ID : 7");
    EXPECT_EQ(Sent(), "send kofs head\r");
    EXPECT_EQ(host.progressRuns(), 0);
}

TEST_F(UploadChainTest, ReportsWhatTheBoardSaysOfItsHash) {
    struct Case {
        const char* name;
        void (*fault)(sim::BoardFaults&);
        UploadOutcome outcome;
        std::vector<int> messages;
        bool restarts;
    };
    const Case cases[] = {
        {"another hash",
         [](sim::BoardFaults& f) { f.wrongHash = true; },
         UploadOutcome::HashMismatch,
         {200},
         true},
        {"upper-case hash",
         [](sim::BoardFaults& f) { f.upperCaseHash = true; },
         UploadOutcome::HashMismatch,
         {200},
         true},
        {"no hash command",
         [](sim::BoardFaults& f) { f.noHashCommand = true; },
         UploadOutcome::Unverified,
         {},
         false},
    };
    for (const auto& c : cases) {
        host.Reset();
        board.faults() = {};
        c.fault(board.faults());
        m_connected = written().size();
        EXPECT_EQ(Upload(Image(1)), c.outcome) << c.name;
        EXPECT_EQ(host.messageIds(), c.messages) << c.name;
        EXPECT_EQ(Sent().ends_with("set state 0 run\r"), c.restarts) << c.name;
        EXPECT_FALSE(host.userClosedProgress()) << c.name;
    }
}

TEST_F(UploadChainTest, ShowsBothHashesWhenTheyDiffer) {
    board.faults().wrongHash = true;
    Upload(Image(1));
    ASSERT_EQ(host.messages().size(), 1u);
    const std::string& text = host.messages()[0].text;
    EXPECT_NE(text.find(writer.upload().imageHash()), std::string::npos);
    EXPECT_NE(text.find("does not match"), std::string::npos);
}

TEST_F(UploadChainTest, WaitsWithoutATimeOutOnceTheBoardHasStoredTheImage) {
    board.faults().silentAfterStored = true;
    EXPECT_EQ(Upload(Image(1)), UploadOutcome::None);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_TRUE(host.userClosedProgress()) << "open until the user closes it";
    EXPECT_EQ(writer.channel().state(), kStateRecvKofs);
}

TEST_F(UploadChainTest, EndsWithASynchronizationFailureWhenTheBoardStopsAnswering) {
    struct Case {
        const char* command;
        std::uint64_t after;
    };
    const Case cases[] = {{"erase kofs", 10000}, {"recv kofs", 3000}};
    for (const auto& c : cases) {
        host.Reset();
        board.faults() = {};
        board.faults().ignoredCommands = {c.command};
        EXPECT_EQ(Upload(Image(1)), UploadOutcome::TimedOut) << c.command;
        EXPECT_EQ(host.messageIds(), std::vector<int>{125}) << c.command;
        EXPECT_FALSE(host.userClosedProgress()) << c.command;
        EXPECT_EQ(writer.channel().state(), kStateIdle);
    }
}

TEST_F(UploadChainTest, FailsWhenTheBoardIsUnpluggedInTheMiddleOfTheText) {
    board.faults().unplugAfterTextBytes = 5000;
    EXPECT_EQ(Upload(Image(8)), UploadOutcome::SendFailed);
    EXPECT_EQ(host.messageIds(), std::vector<int>{126});
    EXPECT_EQ(host.messages()[0].style, MessageStyle::Information);
    EXPECT_FALSE(port.IsOpen()) << "the port check closed it";
}

TEST_F(UploadChainTest, RefusesAnImageWhoseTextWouldNotFitTheBulkBuffer) {
    EXPECT_EQ(Upload(Image(3742)), UploadOutcome::PackageRefused);
    EXPECT_EQ(host.messageIds(), std::vector<int>{201});
    EXPECT_EQ(Sent(), "send kofs head\r") << "nothing erased";
}

TEST_F(UploadChainTest, AcceptsTheLargestImageThatFits) {
    const Bytes image = Image(3741);
    EXPECT_EQ(Upload(image), UploadOutcome::Verified);
    EXPECT_EQ(writer.upload().uploadTextLength(), 5242124u);
    EXPECT_EQ(board.kofs(), image);
}

TEST_F(UploadChainTest, RefusesAnUploadInIspModeOrWithoutAPackage) {
    LoadedPackage none;
    writer.StartUpload(none);
    EXPECT_EQ(host.messageIds(), std::vector<int>{161});
    writer.session().isp = true;
    EXPECT_EQ(Upload(Image(1)), UploadOutcome::IspMode);
    EXPECT_EQ(host.messageIds(), (std::vector<int>{161, 162}));
    writer.Disconnect();
    EXPECT_EQ(Upload(Image(1)), UploadOutcome::NoBoard);
    EXPECT_EQ(host.messageIds().back(), 122);
}

TEST_F(UploadChainTest, OpensTheFirmwareWindowForACombinedPackageEvenAfterAFailedUpload) {
    board.faults().ignoredCommands = {"erase kofs", "reboot isp"};
    const Bytes combined = samples::MakeCombinedPackage({.sizeKib = 1}, {.bytes = 2000});
    EXPECT_EQ(Upload(combined), UploadOutcome::TimedOut);
    EXPECT_EQ(host.firmwareWindows(), 1);
    EXPECT_EQ(host.messageIds(), (std::vector<int>{125, 158})) << "then the reboot timed out";
}

}  // namespace
}  // namespace varnow
