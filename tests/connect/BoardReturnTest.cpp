// A board that restarts is followed by who it is, wherever its port comes back.
#include <gtest/gtest.h>

#include <functional>

#include "SamplePackages.h"
#include "app/OutcomeText.h"
#include "link/PortIdentity.h"
#include "ops/PasswordOperation.h"
#include "ops/RebootOperation.h"
#include "ops/WritePackageOperation.h"
#include "package/LoadedPackage.h"
#include "support/BoardFixture.h"
#include "support/TempFolder.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

using testing::BoardFixture;
using testing::kBoardPort;

constexpr const char* kNewPort = "/dev/ttyACM3";

class BoardReturnTest : public BoardFixture {
protected:
    BoardReturnTest() {
        EXPECT_EQ(Connect().code, ConnectOutcome::Identified);
        port.SetReturnNames({kNewPort});
    }
    testing::TempFolder folder;
    LoadedPackage package;
};

TEST_F(BoardReturnTest, ABoardThatComesBackUnderAnotherNameIsFoundThereAfterEveryRestart) {
    struct Case {
        const char* what;
        std::function<bool()> restartAndCheck;
    };
    const Case cases[] = {
        {"a reboot, its progress naming the new port",
         [this] {
             const bool back = Run<RebootOperation>()->result().outcome == RestartOutcome::Back;
             EXPECT_EQ(host.progressText(),
                       "The product came back on /dev/ttyACM3. Connecting to product.");
             return back;
         }},
        {"a firmware upgrade through the boot loader",
         [this] {
             package.SetPackagePath(
                 folder.Write("firmware.qvk", samples::MakeFirmwareImage({.bytes = 4000})));
             const WriteResult result =
                 Run<WritePackageOperation>(package, UploadOptions{})->result();
             return result.firmware && result.firmware->code == FirmwareOutcome::Upgraded;
         }},
        {"a password change, logged in with the new one",
         [this] {
             const PasswordResult result =
                 Run<PasswordOperation>(PasswordRequest{"new secret", std::nullopt, true})
                     ->result();
             return result.outcome == PasswordOutcome::Set && session.session().login;
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        // Each time it comes back elsewhere: the name it left is not the one it returns on.
        const std::string left = session.session().portName;
        port.SetReturnNames({left == kNewPort ? kBoardPort : kNewPort});
        EXPECT_TRUE(c.restartAndCheck());
        EXPECT_NE(session.session().portName, left);
        EXPECT_EQ(session.session().portName, port.name());
        EXPECT_TRUE(port.IsOpen());
    }
}

TEST_F(BoardReturnTest, AnotherBoardInItsPlaceIsLetGoAndTheWaitEndsNamingIt) {
    const std::string before = session.session().mcuId;
    // The board that answers after the restart is another one.
    port.SetWriteTap([this](ByteView bytes) {
        if (AsText(bytes).find("reboot sys") != std::string::npos) {
            board.config().mcuId = "ffeeddccbbaa99887766554433221100ffeeddcc";
        }
    });
    const std::uint64_t start = loop.NowMs();
    const RestartResult result = Run<RebootOperation>()->result();
    EXPECT_EQ(result.outcome.code, RestartOutcome::OtherBoard);
    EXPECT_EQ(result.otherMcuId, "ffeeddccbbaa99887766554433221100ffeeddcc");
    EXPECT_EQ(result.otherPort, kNewPort);
    EXPECT_LE(loop.NowMs() - start, 32000u) << "the wait keeps its bound";
    EXPECT_FALSE(port.IsOpen()) << "the other board is let go";
    const OutcomeText text = *DescribeRestart(result, kBoardPort);
    EXPECT_EQ(text.stringId, kErrOtherBoardBack);
    EXPECT_EQ(text.args, (std::vector<std::string>{result.otherMcuId, kNewPort}));
    EXPECT_NE(before, result.otherMcuId);
}

PortInfo Usb(std::string name, std::string serial, std::string path) {
    PortInfo port;
    port.name = std::move(name);
    port.vendorId = 0x0483;
    port.productId = 0x5740;
    port.usbSerial = std::move(serial);
    port.physicalPath = std::move(path);
    return port;
}

TEST(PortIdentityTest, ABoardIsLookedForByItsUsbIdentityFirstThenByWhatArrived) {
    const PortInfo left = Usb("ttyACM0", "A1", "pci-0:1.1");
    struct Case {
        const char* what;
        std::vector<PortInfo> now;
        std::set<std::string> arrived;
        std::set<std::string> excluded;
        std::vector<std::string> candidates;
    };
    const Case cases[] = {
        {"its serial number on another name, before a new arrival",
         {Usb("ttyACM1", "B2", "pci-0:1.2"), Usb("ttyACM2", "A1", "pci-0:1.1")},
         {"ttyACM1", "ttyACM2"},
         {},
         {"ttyACM2", "ttyACM1"}},
        {"its hub port, with the boot loader's own serial number",
         {Usb("ttyACM4", "BOOT", "pci-0:1.1")},
         {"ttyACM4"},
         {},
         {"ttyACM4"}},
        {"its own name back", {Usb("ttyACM0", "", "")}, {"ttyACM0"}, {}, {"ttyACM0"}},
        {"a port there all along is another board that did not restart",
         {Usb("ttyACM1", "B2", "pci-0:1.2")},
         {},
         {},
         {}},
        {"a port where another board answered is passed over",
         {Usb("ttyACM1", "", ""), Usb("ttyACM2", "", "")},
         {"ttyACM1", "ttyACM2"},
         {"ttyACM1"},
         {"ttyACM2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReturnCandidates(left, c.now, c.arrived, c.excluded), c.candidates);
    }
}

TEST(PortIdentityTest, APortArgumentNamesAPortByItsUsbSerialNumberOrHubPort) {
    const std::vector<PortInfo> ports{Usb("ttyACM0", "A1", "pci-0:1.1"),
                                      Usb("ttyACM1", "B2", "pci-0:1.2")};
    struct Case {
        const char* argument;
        std::optional<std::string> port;
    };
    const Case cases[] = {
        {"usb:B2", "ttyACM1"},  {"usb-path:pci-0:1.1", "ttyACM0"}, {"usb:C3", std::nullopt},
        {"usb:", std::nullopt}, {"/dev/ttyUSB0", "/dev/ttyUSB0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.argument);
        EXPECT_EQ(ResolvePortArgument(c.argument, ports), c.port);
    }
}

}  // namespace
}  // namespace varnow
