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
            ports.push_back({info.portName().toStdString(), info.description().toStdString(), false,
                             info.portName().toStdString()});
        }
    }
    const auto simulated = SimulatedPorts();
    ports.insert(ports.end(), simulated.begin(), simulated.end());
    return ports;
}

}  // namespace varnow::platform
