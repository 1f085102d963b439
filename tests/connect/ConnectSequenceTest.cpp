#include <gtest/gtest.h>

#include <optional>

#include "app/OutcomeText.h"
#include "link/CommandStates.h"
#include "support/BoardFixture.h"
#include "ui/MessageIds.h"

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
    void ExpectDisconnected() {
        EXPECT_FALSE(port.IsOpen());
        EXPECT_FALSE(host.connectedLook());
    }
    ConnectResult ConnectTo(const std::string& name) {
        return Run<ConnectOperation>(name)->result().outcome;
    }
    // The status line after a connect, as the desktop tool shows it.
    std::string Status(const ConnectResult& result) {
        const OutcomeText text =
            ConnectStatus(result, testing::kBoardPort, session.session().fibId);
        return FillPlaceholders(strings.Text(text.stringId, Language::English), text.args);
    }
};

TEST_F(ConnectSequenceTest, IdentifiesTheBoard) {
    board.config().fibLines = {"FIB-1", "FIB-2", "FIB-LAST"};
    EXPECT_EQ(Connect().code, ConnectOutcome::Identified);
    EXPECT_EQ(written(), kIdentifyCommands);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(host.connectedLook());
    EXPECT_FALSE(host.progressOpen());
    EXPECT_EQ(session.channel().state(), kStateIdle);
    const SessionRecord& record = session.session();
    EXPECT_EQ(record.portName, testing::kBoardPort);
    EXPECT_EQ(record.fibId, "FIB-LAST") << "the last of several FIB lines";
    EXPECT_EQ(record.mcuId, board.config().mcuId);
    EXPECT_FALSE(record.isp);
    EXPECT_FALSE(record.login);
    EXPECT_TRUE(board.framed());
    EXPECT_FALSE(board.echo());
    for (int timer : {kTimerProbe, kTimerReply1s, kTimerBulk1s, kTimerReply3s}) {
        EXPECT_FALSE(platform.TimerArmed(timer)) << timer;
    }
}

TEST_F(ConnectSequenceTest, TellsTheStatusLineWhatTheBoardIsOrWhatFailed) {
    ConnectResult result = Connect();
    EXPECT_EQ(Status(result), "Connected to ttyACM0: firmware 2.1.5, 104K.");
    session.Disconnect();
    board.config().fibLines = {"FIB"};
    result = Connect();
    EXPECT_EQ(Status(result), "Connected to ttyACM0.");
    session.Disconnect();
    board.faults().ignoredCommands = {"get id fib"};
    result = Connect();
    EXPECT_EQ(result.code, ConnectOutcome::TimedOut);
    EXPECT_EQ(Status(result), "The product did not answer \"get id fib\" in time.");
}

// An MCU id is 40 hexadecimal digits as the board sends it: anything else is a damaged read,
// and the connect stops before anything is derived from it.
TEST_F(ConnectSequenceTest, RefusesAnMcuIdThatCameDamaged) {
    const std::pair<const char*, ConnectOutcome> cases[] = {
        {"0123456789abcdef0123456789abcdef01234567", ConnectOutcome::Identified},
        {"0123456789ABCDEF0123456789ABCDEF01234567", ConnectOutcome::Identified},
        {"0123456789abcdef0123456789abcdef0123", ConnectOutcome::IdentityUnreadable},
        {"0123456789abcdef0123456789abcdef0123456#", ConnectOutcome::IdentityUnreadable},
        {"", ConnectOutcome::IdentityUnreadable},
    };
    for (const auto& [id, outcome] : cases) {
        SCOPED_TRACE(id);
        host.Reset();
        session.Disconnect();
        board.Restart();
        board.config().mcuId = id;
        const ConnectResult result = Connect();
        EXPECT_EQ(result.code, outcome);
        if (outcome == ConnectOutcome::Identified) {
            EXPECT_EQ(session.session().mcuId, id);
        } else {
            EXPECT_TRUE(session.session().mcuId.empty());
            EXPECT_EQ(host.messageIds(), std::vector<int>{kMsgMcuIdUnreadable});
            ExpectDisconnected();
        }
    }
}

TEST_F(ConnectSequenceTest, ConnectsAgainToABoardWhoseEchoIsAlreadyOff) {
    ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
    session.Disconnect();
    EXPECT_EQ(Connect().code, ConnectOutcome::Identified);
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(ConnectSequenceTest, GivesUpOnASilentBoardAfterSixProbes) {
    board.faults().silent = true;
    std::vector<std::uint64_t> probeTimes;
    port.SetWriteTap([&](ByteView) { probeTimes.push_back(loop.NowMs()); });
    EXPECT_EQ(Connect().code, ConnectOutcome::BoardSilent);
    // The probe starts 10 ms after the progress dialog opens.
    EXPECT_EQ(probeTimes, (std::vector<std::uint64_t>{10, 110, 310, 710, 1310, 2110}));
    EXPECT_EQ(written(), std::string(6, '\r'));
    EXPECT_EQ(host.messageIds(), std::vector<int>{118});
    EXPECT_EQ(host.messageTimes(), std::vector<std::uint64_t>{3110});
    ExpectDisconnected();
}

TEST_F(ConnectSequenceTest, LeavesABoardInItsBootLoaderConnected) {
    board.config().ispMode = true;
    EXPECT_EQ(Connect().code, ConnectOutcome::IspMode);
    EXPECT_EQ(host.messageIds(), std::vector<int>{119});
    EXPECT_TRUE(session.session().isp);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(host.connectedLook());
    EXPECT_FALSE(host.progressOpen());
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
        session.Disconnect();
        board.Restart();
        board.config().pdbLine = c.pdbLine;
        const std::size_t before = written().size();
        EXPECT_EQ(Connect().code, c.outcome) << c.pdbLine.value_or("501");
        EXPECT_EQ(host.messageIds(), c.messages);
        const bool goesOn = c.outcome == ConnectOutcome::Identified;
        EXPECT_EQ(written().substr(before).find("get sys kofs") != std::string::npos, goesOn);
        EXPECT_EQ(port.IsOpen(), goesOn);
    }
}

TEST_F(ConnectSequenceTest, TakesA501ToGetIdMcuAsTheEndOfTheReply) {
    board.config().mcuIdSupported = false;
    EXPECT_EQ(Connect().code, ConnectOutcome::Identified);
    EXPECT_TRUE(session.session().mcuId.empty());
    EXPECT_TRUE(host.messages().empty());
}

// The board goes silent when the tool writes `command`: not even its echo comes back. Every
// step ends the connect with its own outcome, within its time-out.
struct SilentCase {
    const char* command;
    ConnectOutcome outcome;
    const char* named;  // the command the outcome names
    std::vector<int> messages;
    std::uint64_t after;  // ms from the command to the outcome
    bool disconnected;
    bool progressLeftOpen;
};

const SilentCase kSilentCases[] = {
    {"\r", ConnectOutcome::BoardSilent, "", {118}, 3100, true, false},
    {"set esc", ConnectOutcome::TimedOut, "set esc 02", {118}, 3000, true, false},
    {"set echo", ConnectOutcome::TimedOut, "set echo 0", {118}, 1000, true, false},
    // The sequence stops without a word, the port open; the progress ends with the connect.
    {"get id pdb", ConnectOutcome::Stalled, "get id pdb", {}, 1000, false, false},
    {"get sys kofs", ConnectOutcome::TimedOut, "get sys kofs", {118}, 1000, true, false},
    {"get state", ConnectOutcome::TimedOut, "get state 0", {118}, 1000, true, false},
    {"get id kofs", ConnectOutcome::TimedOut, "get id kofs", {118}, 1000, true, false},
    {"get id fib", ConnectOutcome::TimedOut, "get id fib", {118}, 1000, true, false},
    {"get id mcu", ConnectOutcome::TimedOut, "get id mcu", {118}, 1000, true, false},
};

TEST_F(ConnectSequenceTest, EndsWithAnOutcomeWhenTheBoardFallsSilentAtAnyStep) {
    for (const auto& c : kSilentCases) {
        SCOPED_TRACE(c.command);
        StartAfresh();
        SilenceBoardWhenSent(c.command);
        const ConnectResult result = Connect();
        const auto sentAt = silencedAt();
        ASSERT_TRUE(sentAt.has_value());
        EXPECT_EQ(result.code, c.outcome);
        EXPECT_EQ(result.command, c.named);
        EXPECT_EQ(host.messageIds(), c.messages);
        // The first CR goes out 10 ms after the dialog opened; the sixth probe's wait ends
        // 3100 ms after it.
        EXPECT_EQ(loop.NowMs() - *sentAt, c.after);
        EXPECT_EQ(!port.IsOpen(), c.disconnected);
        EXPECT_EQ(host.progressOpen(), c.progressLeftOpen);
        EXPECT_TRUE(session.channel().idle());
    }
}

TEST_F(ConnectSequenceTest, IgnoresAReplyThatArrivesAfterItsTimeOut) {
    board.faults().lateCommands = {{"get id pdb", 1500}};
    EXPECT_EQ(Connect().code, ConnectOutcome::Stalled);
    loop.RunUntilIdle();
    EXPECT_TRUE(written().ends_with("get id pdb\r")) << "the late 410 OK starts nothing";
    EXPECT_TRUE(host.messages().empty());
    EXPECT_TRUE(session.channel().idle());
}

TEST_F(ConnectSequenceTest, EndsAtOnceWhenTheBoardIsUnpluggedDuringTheProbe) {
    board.faults().silent = true;
    loop.After(50, [this] { port.Unplug(); });
    EXPECT_EQ(Connect().code, ConnectOutcome::PortLost);
    EXPECT_LT(loop.NowMs(), 1000u);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_FALSE(host.progressOpen());
    ExpectDisconnected();
}

class LoginTest : public ConnectSequenceTest {
protected:
    LoginTest() { board.SetPassword("correct horse"); }
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
    EXPECT_EQ(Connect().code, ConnectOutcome::Identified);
    EXPECT_TRUE(board.loggedIn());
    EXPECT_TRUE(session.session().login);
    EXPECT_EQ(host.passwordPrompts(), 1);
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(Count("auth chap admin\r"), 1u);
    EXPECT_EQ(Count("\rset esc 02\r"), 2u) << "again after the login";
    EXPECT_TRUE(written().ends_with("get id mcu\r"));
    EXPECT_TRUE(port.IsOpen());
}

TEST_F(LoginTest, AsksAgainAfterAWrongPassword) {
    host.AnswerPasswords({"wrong guess", "correct horse"});
    EXPECT_EQ(Connect().code, ConnectOutcome::Identified);
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
        EXPECT_EQ(Connect().code, c.outcome);
        ExpectDisconnected();
        EXPECT_FALSE(board.loggedIn());
    }
}

TEST_F(LoginTest, EndsWithAnOutcomeWhenTheBoardFallsSilentDuringTheLogin) {
    struct Case {
        const char* command;
        const char* named;
        std::vector<int> messages;
        bool disconnected;  // the MCU id's time-out keeps the port, as every 1-second step
    };
    const Case cases[] = {
        {"auth chap admin", "auth chap admin", {}, true},
        {"get id mcu", "get id mcu", {118}, false},
        {"auth hash", "auth hash", {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command);
        StartAfresh();
        host.AnswerPasswords({"correct horse"});
        SilenceBoardWhenSent(c.command);
        const ConnectResult result = Connect();
        ASSERT_TRUE(silencedAt().has_value());
        EXPECT_EQ(result.code, ConnectOutcome::TimedOut);
        EXPECT_EQ(result.command, c.named);
        EXPECT_EQ(host.messageIds(), c.messages);
        EXPECT_EQ(loop.NowMs() - *silencedAt(), 1000u);
        EXPECT_EQ(!port.IsOpen(), c.disconnected);
    }
}

TEST_F(ConnectSequenceTest, RefusesToConnectWithoutASelectedPort) {
    EXPECT_EQ(ConnectTo("").code, ConnectOutcome::NoPortSelected);
    EXPECT_EQ(host.messageIds(), std::vector<int>{108});
    EXPECT_EQ(host.progressRuns(), 0);
}

TEST_F(ConnectSequenceTest, ReportsAPortThatCannotBeOpened) {
    EXPECT_EQ(ConnectTo("/dev/ttyNOPE").code, ConnectOutcome::OpenFailed);
    ASSERT_EQ(host.messages().size(), 1u);
    EXPECT_EQ(host.messages()[0].text, "Unable to open COM port");
    EXPECT_EQ(host.messages()[0].style, MessageStyle::Error);
    EXPECT_EQ(host.progressRuns(), 0);
}

}  // namespace
}  // namespace varnow
