#include "PortDiscovery.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <filesystem>
#include <system_error>

#include "SimulatedPorts.h"

namespace varnow::platform {
namespace {

bool IsBoardPort(const QSerialPortInfo& info) {
#ifdef Q_OS_WIN
    return info.portName().startsWith("COM") && info.description().startsWith(kBoardDriverName);
#else
    return info.hasVendorIdentifier() && info.hasProductIdentifier() &&
           info.vendorIdentifier() == kBoardVendorId && info.productIdentifier() == kBoardProductId;
#endif
}

std::vector<PortInfo> SimulatedPorts() {
    std::vector<PortInfo> ports;
    std::error_code error;
    const std::filesystem::path folder = SimulatedPortsFolderFromEnvironment();
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (entry.is_symlink(error) && std::filesystem::exists(entry.path(), error)) {
            ports.push_back(
                {entry.path().string(), "simulated board", true, entry.path().filename().string()});
        }
    }
    std::sort(ports.begin(), ports.end(),
              [](const PortInfo& a, const PortInfo& b) { return a.name < b.name; });
    return ports;
}

}  // namespace

std::vector<PortInfo> DiscoverBoardPorts() {
    std::vector<PortInfo> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (IsBoardPort(info)) {
            PortInfo port{info.portName().toStdString(), info.description().toStdString(), false,
                          info.portName().toStdString()};
            port.vendorId = info.vendorIdentifier();
            port.productId = info.productIdentifier();
            port.usbSerial = info.serialNumber().toStdString();
            port.physicalPath = PhysicalPathOf(info.systemLocation().toStdString());
            ports.push_back(std::move(port));
        }
    }
    const auto simulated = SimulatedPorts();
    ports.insert(ports.end(), simulated.begin(), simulated.end());
    return ports;
}

std::string PhysicalPathOf(const std::filesystem::path& device,
                           const std::filesystem::path& byPath) {
    std::error_code error;
    const std::filesystem::path target = std::filesystem::weakly_canonical(device, error);
    for (const auto& entry : std::filesystem::directory_iterator(byPath, error)) {
        std::error_code ignored;
        if (entry.is_symlink(ignored) &&
            std::filesystem::weakly_canonical(entry.path(), ignored) == target) {
            return entry.path().filename().string();
        }
    }
    return {};
}

std::string FollowSerialLink(const std::string& argument) {
    if (!argument.starts_with("/dev/serial/")) {
        return argument;
    }
    std::error_code error;
    const std::filesystem::path device = std::filesystem::canonical(argument, error);
    if (error) {
        return argument;  // the open says what is wrong with it
    }
    // The port list names a board's USB port by its device name.
    const std::string name = device.filename().string();
    return device.parent_path() == "/dev" ? name : device.string();
}

}  // namespace varnow::platform
