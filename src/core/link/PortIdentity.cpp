#include "link/PortIdentity.h"

#include <algorithm>

namespace varnow {
namespace {

constexpr std::string_view kUsbSerialForm = "usb:";
constexpr std::string_view kUsbPathForm = "usb-path:";

bool SameUsbDevice(const PortInfo& a, const PortInfo& b) {
    return !a.usbSerial.empty() && a.usbSerial == b.usbSerial && a.vendorId == b.vendorId &&
           a.productId == b.productId;
}

}  // namespace

std::optional<std::string> ResolvePortArgument(const std::string& argument,
                                               const std::vector<PortInfo>& ports) {
    auto find = [&](auto matches) -> std::optional<std::string> {
        const auto it = std::find_if(ports.begin(), ports.end(), matches);
        return it == ports.end() ? std::nullopt : std::optional<std::string>(it->name);
    };
    if (argument.starts_with(kUsbSerialForm)) {
        const std::string serial = argument.substr(kUsbSerialForm.size());
        return find([&](const PortInfo& p) { return !serial.empty() && p.usbSerial == serial; });
    }
    if (argument.starts_with(kUsbPathForm)) {
        const std::string path = argument.substr(kUsbPathForm.size());
        return find([&](const PortInfo& p) { return !path.empty() && p.physicalPath == path; });
    }
    return argument;
}

std::vector<std::string> ReturnCandidates(const PortInfo& left, const std::vector<PortInfo>& now,
                                          const std::set<std::string>& arrived,
                                          const std::set<std::string>& excluded) {
    std::vector<std::string> candidates;
    auto add = [&](const std::string& name) {
        if (excluded.count(name) == 0 &&
            std::find(candidates.begin(), candidates.end(), name) == candidates.end()) {
            candidates.push_back(name);
        }
    };
    for (const PortInfo& port : now) {
        if (SameUsbDevice(port, left)) {
            add(port.name);
        }
    }
    for (const PortInfo& port : now) {
        if (!left.physicalPath.empty() && port.physicalPath == left.physicalPath) {
            add(port.name);
        }
    }
    if (arrived.count(left.name) != 0) {
        add(left.name);
    }
    for (const PortInfo& port : now) {
        if (arrived.count(port.name) != 0) {
            add(port.name);
        }
    }
    return candidates;
}

PortInfo ListedPort(const std::string& name, const std::vector<PortInfo>& ports) {
    const auto it =
        std::find_if(ports.begin(), ports.end(), [&](const PortInfo& p) { return p.name == name; });
    if (it != ports.end()) {
        return *it;
    }
    PortInfo port;
    port.name = name;
    return port;
}

}  // namespace varnow
