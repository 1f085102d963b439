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

class PortCheckTest : public BoardFixture {
protected:
    void SetUp() override {
        ASSERT_EQ(Connect().code, ConnectOutcome::Identified);
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
    EXPECT_TRUE(session.session().reconnectPending);

    port.Replug();
    loop.RunUntilIdle();
    ASSERT_TRUE(session.lastConnect().has_value());
    EXPECT_EQ(session.lastConnect()->outcome.code, ConnectOutcome::Identified);
    EXPECT_TRUE(port.IsOpen());
    EXPECT_TRUE(host.connectedLook());
    EXPECT_EQ(Connects(), 2u) << "the whole connect sequence ran again";
    EXPECT_FALSE(session.session().reconnectPending);
}

TEST_F(PortCheckTest, UnplugWhileDisconnectedThenReplugDoesNothing) {
    session.Disconnect();
    port.Unplug();
    loop.RunUntilIdle();
    port.Replug();
    loop.RunUntilIdle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_EQ(Connects(), 1u);
}

TEST_F(PortCheckTest, OtherDevicesComingAndGoingChangeNothing) {
    session.OnDeviceArrival();
    session.OnDeviceRemoval();
    loop.RunUntilIdle();
    EXPECT_TRUE(port.IsOpen()) << "the probe of our own port answers in use";
    EXPECT_EQ(Connects(), 1u);
    EXPECT_TRUE(host.messages().empty());
}

TEST_F(PortCheckTest, IgnoresTheNextArrivalWhenAsked) {
    port.Unplug();
    loop.RunUntilIdle();
    session.session().ignoreNextArrival = true;
    port.Replug();
    loop.RunUntilIdle();
    EXPECT_FALSE(port.IsOpen());
    EXPECT_FALSE(session.session().ignoreNextArrival);
    EXPECT_TRUE(session.session().reconnectPending) << "kept for the arrival after";
}

TEST_F(PortCheckTest, UnplugDuringAnOperationEndsIt) {
    testing::TempFolder folder;
    LoadedPackage package;
    package.SetPackagePath(folder.Write("image.qvk", samples::MakeKofsImage({.sizeKib = 1})));
    SilenceBoardWhenSent("erase kofs");
    loop.After(100, [this] {
        if (silencedAt()) {
            port.Unplug();
        }
    });
    const auto result =
        std::optional<WriteResult>(Run<WritePackageOperation>(package, UploadOptions{})->result());
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->upload.code, UploadOutcome::BoardLost);
    EXPECT_FALSE(host.progressOpen()) << "the port check closed the dialog";
    EXPECT_TRUE(session.channel().idle());
    loop.RunUntilIdle();
    EXPECT_TRUE(host.messages().empty()) << "nothing is left to expire";
}

TEST_F(PortCheckTest, ResumeFromSleepConnectsAgain) {
    session.OnResume();
    loop.RunUntilIdle();
    EXPECT_EQ(Connects(), 2u);
    EXPECT_TRUE(port.IsOpen());
}

}  // namespace
}  // namespace varnow
