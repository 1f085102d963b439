// A USB port's hub port is found the way udev names it, through its /dev/serial/by-path link.
#include <gtest/gtest.h>

#include "PortDiscovery.h"
#include "support/TempFolder.h"

namespace varnow::platform {
namespace {

TEST(PortDiscoveryTest, APortsHubPortIsTheNameOfTheByPathLinkThatLeadsToIt) {
    testing::TempFolder folder;
    const auto dev = folder.path() / "dev";
    const auto byPath = dev / "serial" / "by-path";
    std::filesystem::create_directories(byPath);
    for (const char* device : {"ttyACM0", "ttyACM1"}) {
        folder.Write("dev/" + std::string(device), {});
    }
    // udev's links are relative: ../../ttyACM1
    std::filesystem::create_symlink("../../ttyACM1", byPath / "pci-0000:00:14.0-usb-0:2:1.0");
    std::filesystem::create_symlink("../../ttyACM0", byPath / "pci-0000:00:14.0-usb-0:1:1.0");

    EXPECT_EQ(PhysicalPathOf(dev / "ttyACM1", byPath), "pci-0000:00:14.0-usb-0:2:1.0");
    EXPECT_EQ(PhysicalPathOf(dev / "ttyACM0", byPath), "pci-0000:00:14.0-usb-0:1:1.0");
    folder.Write("dev/ttyACM9", {});
    EXPECT_EQ(PhysicalPathOf(dev / "ttyACM9", byPath), "") << "a port no link leads to";
    EXPECT_EQ(PhysicalPathOf(dev / "ttyACM0", folder.path() / "none"), "") << "no such folder";
}

}  // namespace
}  // namespace varnow::platform
