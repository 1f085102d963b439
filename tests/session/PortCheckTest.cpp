#include <gtest/gtest.h>

#include "link/CommandStates.h"
#include "support/BoardFixture.h"

namespace varnow {
namespace {

using testing::BoardFixture;

class PortCheckTest : public BoardFixture {
protected:
    void SetUp() override {
        writer.Connect();
        loop.RunUntilIdle();
        ASSERT_EQ(writer.connectOutcome(), ConnectOutcome::Identified);
        host.Reset();
    }
    std::size_t Connects() const {
        std::size_t count = 0;
        for (std::size_t at = written().find("\rset esc 02\r"); at != std::string::npos;
             at = written().find("\rset esc 02\r", at + 1)) {
            ++count;
        }
        return count;
    }
};

TEST_F(PortCheckTest, UnplugClosesThePortAndReplugConnectsAgain) {
    port.Unplug();  // the platform reports the removal, and later the arrival
    loop.RunUntilIdle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(host.connectedLook());
    EXPECT_TRUE(writer.session().reconnectPending);

    port.Replug();
    loop.RunUntilIdle();
    EXPECT_EQ(writer.connectOutcome(), ConnectOutcome::Identified);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(host.connectedLook());
    EXPECT_EQ(Connects(), 2u) << "the whole connect sequence ran again";
    EXPECT_FALSE(writer.session().reconnectPending);
}

TEST_F(PortCheckTest, UnplugWhileDisconnectedThenReplugDoesNothing) {
    writer.Disconnect();
    port.Unplug();
    loop.RunUntilIdle();
    port.Replug();
    loop.RunUntilIdle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(Connects(), 1u);
}

TEST_F(PortCheckTest, OtherDevicesComingAndGoingChangeNothing) {
    writer.OnDeviceArrival();
    writer.OnDeviceRemoval();
    loop.RunUntilIdle();
    EXPECT_TRUE(port.IsOpen()) << "the probe of our own port answers in use";
    EXPECT_EQ(Connects(), 1u);
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(PortCheckTest, IgnoresTheNextArrivalWhenAsked) {
    port.Unplug();
    loop.RunUntilIdle();
    writer.session().ignoreNextArrival = true;
    port.Replug();
    loop.RunUntilIdle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(writer.session().ignoreNextArrival);
    EXPECT_TRUE(writer.session().reconnectPending) << "kept for the arrival after";
}

TEST_F(PortCheckTest, UnplugDuringAnOperationEndsIt) {
    board.faults().silent = true;
    writer.RunProgress(ProgressMode::Upload, [this] {
        writer.channel().SendCommand("erase kofs\r", kStateEraseKofs, kTimerReply10s, 10000);
        loop.After(100, [this] { port.Unplug(); });
    });
    EXPECT_FALSE(host.userClosedProgress()) << "the port check closed the dialog";
    EXPECT_EQ(writer.channel().state(), kStateIdle);
    loop.RunUntilIdle();
    EXPECT_TRUE(host.messages().empty()) << "the erase timer expires in state 0";
}

TEST_F(PortCheckTest, ResumeFromSleepConnectsAgain) {
    writer.OnResume();
    loop.RunUntilIdle();
    EXPECT_EQ(Connects(), 2u);
    EXPECT_TRUE(port.IsOpen());
}

}  // namespace
}  // namespace varnow
