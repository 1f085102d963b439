#include <gtest/gtest.h>

#include "link/CommandStates.h"
#include "support/BoardFixture.h"

namespace varnow {
namespace {

using testing::BoardFixture;

constexpr int kTestState = 99;
constexpr int kOtherState = 98;

class CommandChannelTest : public BoardFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(port.Open(testing::kBoardPort), kSerialOk);
        board.config().latencyMs = 0;
    }
    CommandChannel& channel() { return session.channel(); }
    // Makes the board send `text` (as one unframed line) `atMs` from now.
    void BoardSendsAt(std::uint64_t atMs, std::string text) {
        loop.After(atMs, [this, text = std::move(text)] { board.SendUnsolicited(text); });
    }
    // A command that records the lines it gets.
    Command Recording(int state, Lines lines, ReplyTimer timer = {}) {
        return Command{.text = "",
                       .state = state,
                       .timer = timer,
                       .lines = lines,
                       .onReply = [this, state](const ReplyLine& line) {
                           received.push_back(std::to_string(state) + ":" + line.text);
                           return Reply::Pending;
                       }};
    }
    std::vector<std::string> received;
};

TEST_F(CommandChannelTest, SendSetsTheStateWritesTheExactBytesAndArmsTheTimer) {
    board.faults().silent = true;
    channel().Send(
        Command{.text = "get id fib\r", .state = kStateGetIdFib, .timer = {kTimerReply1s, 1000}});
    EXPECT_EQ(channel().state(), kStateGetIdFib);
    EXPECT_EQ(written(), "get id fib\r");
    EXPECT_TRUE(platform.TimerArmed(kTimerReply1s));
}

TEST_F(CommandChannelTest, EndsTheCommandWhenItsHandlerHasTheAnswer) {
    Command command = Recording(kTestState, Lines::Unframed, {kTimerReply1s, 1000});
    command.onReply = [](const ReplyLine& line) {
        return line.text == "done" ? Reply::Done : Reply::Pending;
    };
    channel().Send(std::move(command));
    BoardSendsAt(0, "data");
    loop.RunFor(10);
    EXPECT_EQ(channel().state(), kTestState);
    EXPECT_TRUE(platform.TimerArmed(kTimerReply1s));
    BoardSendsAt(0, "done");
    loop.RunFor(10);
    EXPECT_TRUE(channel().idle());
    EXPECT_FALSE(platform.TimerArmed(kTimerReply1s));
}

TEST_F(CommandChannelTest, GivesTheSecondLineToTheCommandTheFirstOneSent) {
    Command first = Recording(kTestState, Lines::Unframed);
    first.onReply = [this](const ReplyLine& line) {
        received.push_back("first:" + line.text);
        channel().Send(Recording(kOtherState, Lines::Unframed));
        return Reply::Done;  // the command it sent stays
    };
    channel().Send(std::move(first));
    BoardSendsAt(0, "A");
    BoardSendsAt(0, "B");
    loop.RunUntilIdle();
    EXPECT_EQ(received, (std::vector<std::string>{"first:A", "98:B"}));
    EXPECT_EQ(channel().state(), kOtherState);
}

TEST_F(CommandChannelTest, DropsLinesOfAKindTheCommandDoesNotTake) {
    channel().Send(Recording(kTestState, Lines::Framed));
    BoardSendsAt(0, "unframed, dropped");
    loop.RunUntilIdle();
    EXPECT_TRUE(received.empty());
}

TEST_F(CommandChannelTest, KeepsByteOrderWhenAHandlerRunsTheLoop) {
    // "A" runs the loop for a while, as a transfer does between its blocks; "B" was in the same
    // read, "C" arrives meanwhile.
    Command command = Recording(kTestState, Lines::Unframed);
    command.onReply = [this](const ReplyLine& line) {
        received.push_back(line.text);
        if (line.text == "A") {
            loop.RunFor(100);
            received.push_back("loop returned");
        }
        return Reply::Pending;
    };
    channel().Send(std::move(command));
    BoardSendsAt(0, "A");
    BoardSendsAt(0, "B");
    BoardSendsAt(50, "C");
    loop.RunUntilIdle();
    EXPECT_EQ(received, (std::vector<std::string>{"A", "B", "C", "loop returned"}));
}

// The channel ends a command whose time-out expires before the command hears of it: a reply
// that comes later reaches no handler, and the handler needs no end of its own.
TEST_F(CommandChannelTest, EndsATimedOutCommandBeforeItsHandlerRuns) {
    bool stateAtTimeOut = true;
    Command command = Recording(kTestState, Lines::Unframed, {kTimerQuery1s, 1000});
    command.onTimeout = [this, &stateAtTimeOut] { stateAtTimeOut = !channel().idle(); };
    channel().Send(std::move(command));
    BoardSendsAt(1500, "late");
    loop.RunUntilIdle();
    EXPECT_FALSE(stateAtTimeOut) << "ended before its handler ran";
    EXPECT_TRUE(received.empty()) << "the late line is an idle line";
    EXPECT_FALSE(platform.TimerArmed(kTimerQuery1s));
}

TEST_F(CommandChannelTest, AnExpiryReachesOnlyTheCommandThatArmedIt) {
    int firstTimeouts = 0;
    Command first = Recording(kTestState, Lines::Unframed, {kTimerQuery1s, 1000});
    first.onTimeout = [&firstTimeouts] { ++firstTimeouts; };
    channel().Send(std::move(first));
    loop.RunFor(500);
    // The next command has no time-out: the first one's timer goes with it.
    channel().Send(Recording(kOtherState, Lines::Unframed));
    loop.RunFor(2000);
    EXPECT_EQ(firstTimeouts, 0);
    EXPECT_FALSE(platform.TimerArmed(kTimerQuery1s));
    EXPECT_EQ(channel().state(), kOtherState);
}

TEST_F(CommandChannelTest, TellsTheCommandWhenItsPortIsLost) {
    bool lost = false;
    Command command = Recording(kTestState, Lines::Unframed, {kTimerReply1s, 1000});
    command.onPortLost = [&lost] { lost = true; };
    channel().Send(std::move(command));
    channel().AbandonForLostPort();
    EXPECT_TRUE(lost);
    EXPECT_TRUE(channel().idle());
    EXPECT_FALSE(platform.TimerArmed(kTimerReply1s));
}

TEST_F(CommandChannelTest, AnswersABreakReportInTheIdleStateWithARawRun) {
    struct Case {
        const char* line;
        bool answered;
    };
    const Case cases[] = {
        {"602 0 BREAK init.php 1", true},
        {"602 0 BREAK init.php 7", true},
        {"602 0 BREAK init.ph", false},
        {"602 1 BREAK init.php 1", false},
    };
    board.config().latencyMs = 1;
    board.Receive(AsBytes("set esc 02\r"));  // the board frames its lines from now on
    for (const auto& c : cases) {
        const std::size_t before = written().size();
        BoardSendsAt(0, c.line);
        loop.RunUntilIdle();
        const std::string sent = written().substr(before);
        EXPECT_EQ(sent, c.answered ? "set state 0 run\r" : "") << c.line;
        EXPECT_TRUE(channel().idle());
        EXPECT_FALSE(platform.TimerArmed(kTimerReply1s));
    }
}

TEST_F(CommandChannelTest, IgnoresNotificationsWithErrorBits) {
    channel().Send(Recording(kTestState, Lines::Unframed));
    port.SetArrivalNotifier({});  // notifications are sent by hand below
    BoardSendsAt(0, "X");
    loop.RunUntilIdle();
    session.OnSerialEvent(kEventCharacterReceived | kEventLineError);
    session.OnSerialEvent((1u << 16) | kEventCharacterReceived);
    session.OnSerialEvent(kEventCtsChanged);
    EXPECT_TRUE(received.empty()) << "the bytes wait in the port";
    session.OnSerialEvent(kEventCharacterReceived);
    EXPECT_EQ(received, std::vector<std::string>{"99:X"});
}

}  // namespace
}  // namespace varnow
