#include <gtest/gtest.h>

#include "link/CommandStates.h"
#include "settings/ChallengeLogin.h"
#include "support/BoardFixture.h"

namespace varnow {
namespace {

using testing::BoardFixture;

constexpr const char* kIdentifyCommands =
    "\r"
    "\rset esc 02\r"
    "\rset echo 0\r"
    "get id pdb\r"
    "get sys kofs\r"
    "get state 0\r"
    "get id kofs\r"
    "get id fib\r"
    "get id mcu\r";

class ConnectSequenceTest : public BoardFixture {
protected:
    // Connects and lets whatever the connect started (a login) run to its end.
    ConnectOutcome Connect() {
        writer.Connect();
        loop.RunUntilIdle();
        return writer.connectOutcome();
    }
    void ExpectDisconnected() {
        EXPECT_FALSE(port.IsOpen());
        EXPECT_FALSE(host.connectedLook());
    }
};

TEST_F(ConnectSequenceTest, IdentifiesTheBoard) {
    board.config().fibLines = {"FIB-1", "FIB-2", "FIB-LAST"};
    EXPECT_EQ(Connect(), ConnectOutcome::Identified);
    EXPECT_EQ(written(), kIdentifyCommands);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(host.connectedLook());
    EXPECT_FALSE(host.userClosedProgress());
    EXPECT_EQ(writer.channel().state(), kStateIdle);
    const SessionRecord& session = writer.session();
    EXPECT_EQ(session.portName, testing::kBoardPort);
    EXPECT_EQ(session.fibId, "FIB-LAST") << "the last of several FIB lines";
    EXPECT_EQ(session.mcuId, board.config().mcuId);
    EXPECT_FALSE(session.isp);
    EXPECT_FALSE(session.login);
    EXPECT_TRUE(board.framed());
    EXPECT_FALSE(board.echo());
    for (int timer : {kTimerProbe, kTimerReply1s, kTimerBulk1s, kTimerReply3s}) {
        EXPECT_FALSE(platform.TimerArmed(timer)) << timer;
    }
}

TEST_F(ConnectSequenceTest, ConnectsAgainToABoardWhoseEchoIsAlreadyOff) {
    ASSERT_EQ(Connect(), ConnectOutcome::Identified);
    writer.Disconnect();
    EXPECT_EQ(Connect(), ConnectOutcome::Identified);
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(ConnectSequenceTest, GivesUpOnASilentBoardAfterSixProbes) {
    board.faults().silent = true;
    std::vector<std::uint64_t> probeTimes;
    port.SetWriteTap([&](ByteView) { probeTimes.push_back(loop.NowMs()); });
    EXPECT_EQ(Connect(), ConnectOutcome::BoardSilent);
    // The probe starts 10 ms after the progress dialog opens.
    EXPECT_EQ(probeTimes, (std::vector<std::uint64_t>{10, 110, 310, 710, 1310, 2110}));
    EXPECT_EQ(written(), std::string(6, '\r'));
    EXPECT_EQ(host.messageIds(), std::vector<int>{118});
    EXPECT_EQ(host.messageTimes(), std::vector<std::uint64_t>{3110});
    ExpectDisconnected();
}

TEST_F(ConnectSequenceTest, LeavesABoardInItsBootLoaderConnected) {
    board.config().ispMode = true;
    EXPECT_EQ(Connect(), ConnectOutcome::IspMode);
    EXPECT_EQ(host.messageIds(), std::vector<int>{119});
    EXPECT_TRUE(writer.session().isp);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(host.connectedLook());
    EXPECT_FALSE(host.userClosedProgress());
    EXPECT_EQ(written(), "\r");
}

TEST_F(ConnectSequenceTest, ChecksThatFirmwareAndToolFitTogether) {
    struct Case {
        std::optional<std::string> pdbLine;
        ConnectOutcome outcome;
        std::vector<int> messages;
    };
    const Case cases[] = {
        {"0100", ConnectOutcome::Identified, {}},
        {"ff00", ConnectOutcome::Identified, {}},
        {"0101", ConnectOutcome::WriterTooOld, {167}},
        {"00ff", ConnectOutcome::WriterTooOld, {167}},
        {std::nullopt, ConnectOutcome::FirmwareTooOld, {166}},
    };
    for (const auto& c : cases) {
        host.Reset();
        writer.Disconnect();
        board.Restart();
        board.config().pdbLine = c.pdbLine;
        const std::size_t before = written().size();
        EXPECT_EQ(Connect(), c.outcome) << c.pdbLine.value_or("501");
        EXPECT_EQ(host.messageIds(), c.messages);
        const bool goesOn = c.outcome == ConnectOutcome::Identified;
        EXPECT_EQ(written().substr(before).find("get sys kofs") != std::string::npos, goesOn);
        EXPECT_EQ(port.IsOpen(), goesOn);
    }
}

TEST_F(ConnectSequenceTest, TakesA501ToGetIdMcuAsTheEndOfTheReply) {
    board.config().mcuIdSupported = false;
    EXPECT_EQ(Connect(), ConnectOutcome::Identified);
    EXPECT_TRUE(writer.session().mcuId.empty());
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(ConnectSequenceTest, TimesOutInEveryStepOfTheSequence) {
    struct Case {
        const char* command;
        ConnectOutcome outcome;
        std::uint64_t after;  // ms from the command to the message
    };
    const Case cases[] = {
        {"set esc", ConnectOutcome::TimedOut, 3000},
        {"set echo", ConnectOutcome::TimedOut, 1000},
        {"get sys kofs", ConnectOutcome::TimedOut, 1000},
        {"get state", ConnectOutcome::TimedOut, 1000},
        {"get id kofs", ConnectOutcome::TimedOut, 1000},
        {"get id fib", ConnectOutcome::TimedOut, 1000},
        {"get id mcu", ConnectOutcome::TimedOut, 1000},
    };
    for (const auto& c : cases) {
        host.Reset();
        board.Restart();
        board.faults().ignoredCommands = {c.command};
        std::uint64_t sentAt = 0;
        port.SetWriteTap([&](ByteView bytes) {
            if (AsText(bytes).find(c.command) != std::string::npos) {
                sentAt = loop.NowMs();
            }
        });
        EXPECT_EQ(Connect(), c.outcome) << c.command;
        EXPECT_EQ(host.messageIds(), std::vector<int>{118}) << c.command;
        EXPECT_EQ(host.messageTimes(), std::vector<std::uint64_t>{sentAt + c.after}) << c.command;
        EXPECT_FALSE(host.userClosedProgress()) << c.command;
        ExpectDisconnected();
    }
}

TEST_F(ConnectSequenceTest, StopsWithoutAWordWhenGetIdPdbTimesOut) {
    board.faults().ignoredCommands = {"get id pdb"};
    EXPECT_EQ(Connect(), ConnectOutcome::Stalled);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_TRUE(host.userClosedProgress()) << "the dialog stays until the user closes it";
    EXPECT_TRUE(port.IsOpen());
    EXPECT_EQ(writer.channel().state(), kStateIdle);
}

TEST_F(ConnectSequenceTest, IgnoresAReplyThatArrivesAfterItsTimeOut) {
    board.faults().lateCommands = {{"get id pdb", 1500}};
    EXPECT_EQ(Connect(), ConnectOutcome::Stalled);
    EXPECT_TRUE(written().ends_with("get id pdb\r")) << "the late 410 OK starts nothing";
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(writer.channel().state(), kStateIdle);
}

TEST_F(ConnectSequenceTest, EndsWithTheProbeFailureWhenTheBoardIsUnpluggedDuringTheProbe) {
    board.faults().silent = true;
    loop.After(50, [this] { port.Unplug(); });
    EXPECT_EQ(Connect(), ConnectOutcome::BoardSilent);
    EXPECT_EQ(host.messageIds(), std::vector<int>{118});
    ExpectDisconnected();
}

class LoginTest : public ConnectSequenceTest {
protected:
    LoginTest() { board.config().password = "correct horse"; }
    std::size_t Count(const std::string& what) const {
        std::size_t count = 0;
        for (std::size_t at = written().find(what); at != std::string::npos;
             at = written().find(what, at + 1)) {
            ++count;
        }
        return count;
    }
};

TEST_F(LoginTest, LogsInWithTheRightPasswordAndResumesTheSequence) {
    host.AnswerPasswords({"correct horse"});
    EXPECT_EQ(Connect(), ConnectOutcome::Identified);
    EXPECT_TRUE(board.loggedIn());
    EXPECT_TRUE(writer.session().login);
    EXPECT_EQ(host.passwordPrompts(), 1);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(Count("auth chap admin\r"), 1u);
    EXPECT_EQ(Count("\rset esc 02\r"), 2u) << "again after the login";
    EXPECT_TRUE(written().ends_with("get id mcu\r"));
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(LoginTest, AsksAgainAfterAWrongPassword) {
    host.AnswerPasswords({"wrong guess", "correct horse"});
    EXPECT_EQ(Connect(), ConnectOutcome::Identified);
    EXPECT_EQ(host.messageIds(), std::vector<int>{152});
    EXPECT_EQ(host.passwordPrompts(), 2);
    EXPECT_EQ(Count("auth hash "), 2u);
}

TEST_F(LoginTest, DisconnectsWhenTheUserCancels) {
    struct Case {
        std::vector<std::optional<std::string>> answers;
        ConnectOutcome outcome;
    };
    const Case cases[] = {
        {{}, ConnectOutcome::LoginCancelled},
        {{"wrong guess"}, ConnectOutcome::LoginRefused},
    };
    for (const auto& c : cases) {
        host.Reset();
        board.Restart();
        host.AnswerPasswords(c.answers);
        EXPECT_EQ(Connect(), c.outcome);
        ExpectDisconnected();
        EXPECT_FALSE(board.loggedIn());
    }
}

TEST_F(ConnectSequenceTest, RefusesToConnectWithoutASelectedPort) {
    host.SelectPort("");
    EXPECT_EQ(Connect(), ConnectOutcome::NoPortSelected);
    EXPECT_EQ(host.messageIds(), std::vector<int>{108});
    EXPECT_EQ(host.progressRuns(), 0);
}

TEST_F(ConnectSequenceTest, ReportsAPortThatCannotBeOpened) {
    host.SelectPort("/dev/ttyNOPE");
    EXPECT_EQ(Connect(), ConnectOutcome::OpenFailed);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "Unable to open COM port");
    EXPECT_EQ(host.messages()[0].style, MessageStyle::Error);
    EXPECT_EQ(host.progressRuns(), 0);
}

}  // namespace
}  // namespace varnow
