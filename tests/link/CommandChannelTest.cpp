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
    // Makes the board send `text` (as one unframed line) `atMs` from now.
    void BoardSendsAt(std::uint64_t atMs, std::string text) {
        loop.After(atMs, [this, text = std::move(text)] { board.SendUnsolicited(text); });
    }
    std::vector<std::string> received;
};

TEST_F(CommandChannelTest, SendCommandSetsStateWritesExactBytesAndArmsTheTimer) {
    board.faults().silent = true;
    writer.channel().SendCommand("get id fib\r", kStateGetIdFib, kTimerReply1s, 1000);
    EXPECT_EQ(writer.channel().state(), kStateGetIdFib);
    EXPECT_EQ(written(), "get id fib\r");
    EXPECT_TRUE(platform.TimerArmed(kTimerReply1s));
}

TEST_F(CommandChannelTest, DispatchesTheSecondLineUnderTheStateTheFirstOneSet) {
    writer.channel().SetState(kTestState);
    writer.channel().OnUnframed(kTestState, [this](const ReplyLine& line) {
        received.push_back("first:" + line.text);
        writer.channel().SetState(kOtherState);
    });
    writer.channel().OnUnframed(
        kOtherState, [this](const ReplyLine& line) { received.push_back("second:" + line.text); });
    BoardSendsAt(0, "A");
    BoardSendsAt(0, "B");
    loop.RunUntilIdle();
    EXPECT_EQ(received, (std::vector<std::string>{"first:A", "second:B"}));
}

TEST_F(CommandChannelTest, DropsLinesOfAStateWithoutAHandlerOfTheirKind) {
    writer.channel().SetState(kTestState);
    writer.channel().OnFramed(kTestState,
                              [this](const ReplyLine& line) { received.push_back(line.text); });
    BoardSendsAt(0, "unframed, dropped");
    loop.RunUntilIdle();
    EXPECT_TRUE(received.empty());
}

TEST_F(CommandChannelTest, KeepsByteOrderWhenAHandlerOpensAModalDialog) {
    // "A" opens a dialog; "B" was in the same read, "C" arrives while the dialog is open.
    host.SetMessageDwellMs(100);
    writer.channel().SetState(kTestState);
    writer.channel().OnUnframed(kTestState, [this](const ReplyLine& line) {
        received.push_back(line.text);
        if (line.text == "A") {
            writer.messenger().ShowText("modal", MessageStyle::Information);
            received.push_back("dialog closed");
        }
    });
    BoardSendsAt(0, "A");
    BoardSendsAt(0, "B");
    BoardSendsAt(50, "C");
    loop.RunUntilIdle();
    EXPECT_EQ(received, (std::vector<std::string>{"A", "B", "C", "dialog closed"}));
}

TEST_F(CommandChannelTest, HandlesTimerExpiriesInsideAModalDialog) {
    host.SetMessageDwellMs(500);
    writer.channel().SetState(kTestState);
    std::uint64_t stateZeroAt = 0;
    writer.channel().OnUnframed(kTestState, [this, &stateZeroAt](const ReplyLine&) {
        writer.platform().ArmTimer(kTimerQuery1s, 1000);
        writer.messenger().ShowText("modal", MessageStyle::Information);
        stateZeroAt = writer.channel().state() == kStateIdle ? loop.NowMs() : 0;
    });
    BoardSendsAt(600, "go");
    loop.RunUntilIdle();
    EXPECT_EQ(writer.channel().state(), kStateIdle);
    EXPECT_EQ(stateZeroAt, 0u) << "the dialog closed at 1100 ms, before the 1600 ms expiry";

    host.SetMessageDwellMs(1500);
    writer.channel().SetState(kTestState);
    BoardSendsAt(0, "go");
    loop.RunUntilIdle();
    EXPECT_GT(stateZeroAt, 0u) << "the expiry was handled while the dialog was open";
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
        EXPECT_EQ(writer.channel().state(), kStateIdle);
        EXPECT_FALSE(platform.TimerArmed(kTimerReply1s));
    }
}

TEST_F(CommandChannelTest, IgnoresNotificationsWithErrorBits) {
    writer.channel().SetState(kTestState);
    writer.channel().OnUnframed(kTestState,
                                [this](const ReplyLine& line) { received.push_back(line.text); });
    port.SetArrivalNotifier({});  // notifications are sent by hand below
    BoardSendsAt(0, "X");
    loop.RunUntilIdle();
    writer.OnSerialEvent(kEventCharacterReceived | kEventLineError);
    writer.OnSerialEvent((1u << 16) | kEventCharacterReceived);
    writer.OnSerialEvent(kEventCtsChanged);
    EXPECT_TRUE(received.empty()) << "the bytes wait in the port";
    writer.OnSerialEvent(kEventCharacterReceived);
    EXPECT_EQ(received, std::vector<std::string>{"X"});
}

}  // namespace
}  // namespace varnow
