#include <gtest/gtest.h>

#include "link/CommandStates.h"
#include "settings/ChallengeLogin.h"
#include "support/BoardFixture.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class ChannelTimeoutsTest : public BoardFixture {};

TEST_F(ChannelTimeoutsTest, EachExpiryEndsItsOperationWithoutRetrying) {
    struct Case {
        int timer;
        int period;
        int state;
        int message;  // 0: none
        int finalState;
        bool closesProgress;  // the chain closes the progress dialog (else the user does)
        bool disconnects;
    };
    const Case cases[] = {
        {kTimerReply1s, 1000, kStateSetEcho, 118, 0, true, true},
        {kTimerReply1s, 1000, kStateGetIdPdb, 0, 0, true, true},
        {kTimerReply1s, 1000, kStateGetIdMcu, 118, 0, true, true},
        {kTimerReply1s, 1000, kStateLogin, 0, 0, true, true},
        {kTimerReply1s, 1000, kStateGetFibMac, 147, 0, true, true},
        {kTimerReply1s, 1000, kStateSendTail, 147, 0, true, true},
        {kTimerReply1s, 1000, kStateGetUptime, 147, 0, true, true},
        {kTimerReply1s, 1000, kStateSendEnvc, 0, 0, true, true},
        {kTimerQuery1s, 1000, 40, 0, 0, false, false},
        {kTimerBulk1s, 1000, kStateSendKofsHead, 0, 0, false, false},
        {kTimerBulk1s, 1000, kStateGetIdPdb, 0, 0, false, false},
        {kTimerReply3s, 3000, kStateSetEsc, 118, 0, true, true},
        {kTimerReply3s, 3000, kStateRecvKofs, 125, 0, true, false},
        {kTimerReply3s, 3000, kStateSendEnvs, 147, 0, false, false},
        {kTimerReply3s, 3000, kStateRecvEnvs, 0, 0, false, false},
        {kTimerReply3s, 3000, kStateRecvEnvc, 150, 0, false, false},
        {kTimerReply3s, 3000, kStateGetState, 0, kStateGetState, false, false},
        {kTimerReply5s, 5000, kStateRebootIsp, 0, 0, true, false},
        {kTimerReply10s, 10000, kStateEraseKofs, 125, 0, true, false},
        {kTimerReply10s, 10000, kStateRecvKofs, 0, kStateRecvKofs, false, false},
    };
    board.faults().silent = true;
    for (const auto& c : cases) {
        SCOPED_TRACE("timer " + std::to_string(c.timer) + " in state " + std::to_string(c.state));
        ASSERT_TRUE(writer.OpenBoardPort(testing::kBoardPort));
        const std::size_t writtenBefore = written().size();
        const std::size_t messagesBefore = host.messages().size();
        const bool userClosedBefore = host.userClosedProgress();
        writer.RunProgress(ProgressMode::Upload, [&] {
            writer.channel().SetState(c.state);
            platform.ArmTimer(c.timer, c.period);
        });
        loop.RunUntilIdle();
        EXPECT_EQ(writer.channel().state(), c.finalState);
        EXPECT_EQ(host.messages().size() - messagesBefore, c.message ? 1u : 0u);
        if (c.message && host.messages().size() > messagesBefore) {
            EXPECT_EQ(host.messages().back().stringId, c.message);
            EXPECT_EQ(host.messages().back().style, MessageStyle::Warning);
        }
        EXPECT_EQ(!host.userClosedProgress() || userClosedBefore, c.closesProgress);
        EXPECT_EQ(!port.IsOpen(), c.disconnects);
        EXPECT_EQ(written().size(), writtenBefore) << "nothing is sent again";
        EXPECT_FALSE(platform.TimerArmed(c.timer));
        port.Close();
        writer.channel().SetState(kStateIdle);
        host.Reset();
    }
}

TEST_F(ChannelTimeoutsTest, LoginExpiryDisconnectsEvenWithoutAProgressDialog) {
    ASSERT_TRUE(writer.OpenBoardPort(testing::kBoardPort));
    board.faults().silent = true;
    writer.login().LoginRequest();
    loop.RunUntilIdle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_TRUE(host.messages().empty());
    EXPECT_EQ(writer.channel().state(), kStateIdle);
}

}  // namespace
}  // namespace varnow
