#include <gtest/gtest.h>

#include "SamplePackages.h"
#include "app/OutcomeText.h"
#include "base64/Base64Encoder.h"
#include "link/CommandStates.h"
#include "ops/WritePackageOperation.h"
#include "package/LoadedPackage.h"
#include "support/BoardFixture.h"
#include "support/TempFolder.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class UploadChainTest : public BoardFixture {
protected:
    void SetUp() override {
        board.config().latencyMs = 1;
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        host.Reset();
        m_connected = written().size();
    }
    // Writes a package with the given bytes and waits for the outcome.
    WriteResult Write(const Bytes& bytes, UploadOptions options = {}) {
        package.SetPackagePath(folder.Write("package.qvk", bytes));
        const WriteResult result = Run<WritePackageOperation>(package, options)->result();
        endedAt = loop.NowMs();
        last = result;
        Settle();
        return result;
    }
    UploadOutcome Upload(const Bytes& bytes) { return Write(bytes).upload.code; }
    std::string Sent() const { return written().substr(m_connected); }

    testing::TempFolder folder;
    LoadedPackage package;
    std::size_t m_connected = 0;
    std::uint64_t endedAt = 0;
    WriteResult last;
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
    EXPECT_FALSE(host.progressOpen());
    EXPECT_EQ(host.progressTotal(), 4202);
    EXPECT_EQ(host.progressSteps(), (std::vector<long long>{0, 4096, 4202})) << "4096 + 106";
    EXPECT_TRUE(session.channel().idle());
}

TEST_F(UploadChainTest, TellsTheStatusLineWhatWasWrittenOrWhatFailed) {
    const auto status = [this](const WriteResult& result) {
        const OutcomeText text = WriteStatus(result, testing::kBoardPort, "package.qvk");
        return FillPlaceholders(strings.Text(text.stringId, Language::English), text.args);
    };
    const std::string written = status(Write(Image(1)));
    EXPECT_EQ(written, "Image uploaded written and verified (SHA-1 " + last.imageHash + ").");
    board.faults().wrongHash = true;
    EXPECT_EQ(status(Write(Image(1))),
              "The product's hash of the stored image differs from the package's; it may hold a "
              "partial or damaged image: write the package again.");
}

TEST_F(UploadChainTest, NothingIsWrittenInADryRunOrToABoardThatHoldsTheImage) {
    const Bytes image = Image(4);
    struct Case {
        const char* name;
        UploadOptions options;
        UploadOutcome outcome;
        bool written;
    };
    const Case cases[] = {
        {"a dry run", {.dryRun = true}, UploadOutcome::DryRun, false},
        {"a board with another image", {.skipUnchanged = true}, UploadOutcome::Verified, true},
        {"the same image again", {.skipUnchanged = true}, UploadOutcome::Unchanged, false},
        {"the same image without the option", {}, UploadOutcome::Verified, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::size_t before = written().size();
        EXPECT_EQ(Write(image, c.options).upload.code, c.outcome);
        const std::string sent = written().substr(before);
        EXPECT_EQ(sent.find("erase kofs") != std::string::npos, c.written);
        EXPECT_EQ(sent.find("recv kofs") != std::string::npos, c.written);
    }
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
        EXPECT_FALSE(host.progressOpen()) << c.name;
    }
}

TEST_F(UploadChainTest, ShowsBothHashesWhenTheyDiffer) {
    board.faults().wrongHash = true;
    Upload(Image(1));
    ASSERT_EQ(host.messages().size(), 1u);
    const std::string& text = host.messages()[0].text;
    EXPECT_NE(text.find(last.imageHash), std::string::npos);
    EXPECT_NE(text.find("does not match"), std::string::npos);
}

// The board goes silent when the tool writes `command`. Every step ends the upload with its
// own outcome within its time-out, and tells the user what became of the image.
TEST_F(UploadChainTest, EndsWithAnOutcomeWhenTheBoardFallsSilentAtAnyStep) {
    struct Case {
        const char* command;
        UploadOutcome outcome;
        std::vector<int> messages;
        std::uint64_t after;  // ms from the command to the outcome
    };
    const Case cases[] = {
        {"send kofs head", UploadOutcome::Stalled, {}, 1000},
        {"erase kofs", UploadOutcome::TimedOut, {125}, 10000},
        {"recv kofs", UploadOutcome::TimedOut, {125}, 3000},
        {"get id kofs hash", UploadOutcome::Unverified, {203}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        StartAfresh();
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
        host.Reset();
        SilenceBoardWhenSent(c.command);
        const UploadResult result = Write(Image(1)).upload;
        ASSERT_TRUE(silencedAt().has_value());
        EXPECT_EQ(result.code, c.outcome);
        EXPECT_EQ(result.command, c.command);
        EXPECT_EQ(host.messageIds(), c.messages);
        EXPECT_EQ(endedAt - *silencedAt(), c.after);
        EXPECT_FALSE(host.progressOpen()) << "nothing is left for the user to close";
        EXPECT_TRUE(session.channel().idle());
    }
}

TEST_F(UploadChainTest, EndsUnconfirmedWhenTheBoardNeverFinishesStoring) {
    board.faults().silentAfterStored = true;
    std::uint64_t storedAt = 0;
    port.SetWriteTap([&](ByteView bytes) {
        if (AsText(bytes) == "\r\r") {
            storedAt = loop.NowMs();
        }
    });
    const UploadResult result = Write(Image(1)).upload;
    EXPECT_EQ(result.code, UploadOutcome::Unverified);
    EXPECT_EQ(result.command, "recv kofs");
    EXPECT_EQ(host.messageIds(), std::vector<int>{203});
    EXPECT_GE(endedAt - storedAt, 120000u) << "flash may take long to write";
    EXPECT_LE(endedAt - storedAt, 120010u);
    EXPECT_FALSE(host.progressOpen());
    EXPECT_EQ(host.progressText(), "The product is storing the image… 119 s")
        << "the wait is told with its seconds";
}

TEST_F(UploadChainTest, EndsAtOnceWhenThePortGoesWhileTheBoardStores) {
    board.faults().silentAfterStored = true;
    std::uint64_t storedAt = 0;
    port.SetWriteTap([&](ByteView bytes) {
        if (AsText(bytes) == "\r\r") {
            storedAt = loop.NowMs();
            loop.After(5000, [this] { port.Unplug(); });
        }
    });
    EXPECT_EQ(Write(Image(1)).upload.code, UploadOutcome::BoardLost);
    EXPECT_LE(endedAt - storedAt, 5010u) << "seen at once, not at the storing bound";
    EXPECT_FALSE(host.progressOpen());
}

TEST_F(UploadChainTest, FailsWhenTheBoardIsUnpluggedInTheMiddleOfTheText) {
    board.faults().unplugAfterTextBytes = 5000;
    EXPECT_EQ(Upload(Image(8)), UploadOutcome::BoardLost);
    EXPECT_EQ(host.messageIds(), std::vector<int>{126});
    EXPECT_EQ(host.messages()[0].style, MessageStyle::Warning) << "a failure, not news";
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
    EXPECT_EQ(last.textLength, 5242124u);
    EXPECT_EQ(board.kofs(), image);
}

TEST_F(UploadChainTest, RefusesAnUploadInIspModeOrWithoutAPackage) {
    LoadedPackage none;
    const WriteResult refused = Run<WritePackageOperation>(none, UploadOptions{})->result();
    EXPECT_EQ(refused.upload.code, UploadOutcome::PackageRefused);
    EXPECT_EQ(host.messageIds(), std::vector<int>{kMsgChoosePackage});
    EXPECT_EQ(DescribeWrite(refused, "", "")->stringId, kMsgChoosePackage);
    session.session().isp = true;
    EXPECT_EQ(Upload(Image(1)), UploadOutcome::IspMode);
    EXPECT_EQ(host.messageIds(), (std::vector<int>{kMsgChoosePackage, 162}));
    session.Disconnect();
    EXPECT_EQ(Upload(Image(1)), UploadOutcome::NoBoard);
    EXPECT_EQ(host.messageIds().back(), 122);
}

TEST_F(UploadChainTest, OpensTheFirmwareWindowForACombinedPackageEvenAfterAFailedUpload) {
    board.faults().ignoredCommands = {"erase kofs", "reboot isp"};
    const WriteResult result = Write(samples::MakeCombinedPackage({.sizeKib = 1}, {.bytes = 2000}));
    EXPECT_EQ(result.upload.code, UploadOutcome::TimedOut);
    EXPECT_EQ(host.firmwareWindows(), 1);
    ASSERT_TRUE(result.firmware.has_value());
    EXPECT_EQ(result.firmware->code, FirmwareOutcome::TimedOut);
    EXPECT_EQ(result.firmware->command, "reboot isp 100");
    EXPECT_EQ(host.messageIds(), (std::vector<int>{125, 158})) << "then the reboot timed out";
}

}  // namespace
}  // namespace varnow
