#include "info/NetworkInfo.h"
#include "info/DurationText.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// A value, or "None" when the board gave none.
std::string OrNone(const std::string& value, const std::string& none) {
    return value.empty() ? none : value;
}

}  // namespace

NetworkReports BuildNetworkReports(const NetworkInfo& info, const StringTable& strings,
                                   Language language) {
    auto label = [&](int id) { return strings.Text(id, language); };
    NetworkReports reports;

    std::string& network = reports.network;
    network = label(kTextIpv4Title) + "\r\n";
    network += label(kTextLocalAddress) + info.ipv4Address + "\r\n";
    network += label(kTextSubnetMask) + info.subnetMask + "\r\n";
    network += label(kTextGateway) + info.gateway + "\r\n";
    network += label(kTextNameServer) + info.nameServer + "\r\n\r\n";
    network += label(kTextIpv6Title) + "\r\n";
    network += label(kTextLinkLocal) + info.linkLocal + "\r\n";
    network += label(kTextGlobal);
    if (!info.global.empty()) {
        network += info.global + " / " + std::to_string(info.prefix6);
    }
    network += "\r\n" + label(kTextGateway) + info.gateway6;
    if (info.conflictCount > 0) {
        network += "\r\n\r\n" + label(kTextConflictTitle) + "\r\n";
        network += label(kTextConflictCount) + std::to_string(info.conflictCount) + "\r\n";
        network += label(kTextConflictMac) + info.conflictMac + "\r\n";
        network += label(kTextConflictTime) +
                   DurationText(label(kTextUptimePattern), info.conflictSeconds);
    }

    const std::string none = label(kTextNone);
    if (info.mode.empty()) {
        reports.wireless = label(kTextInoperativeWireless);
    } else {
        std::string& wireless = reports.wireless;
        wireless = label(kTextWirelessMode) + info.mode + "\r\n";
        wireless += label(kTextWirelessSsid) + info.ssid + "\r\n";
        wireless += label(kTextSignalStrength) + info.signal + "dbm\r\n";
        wireless += label(kTextSecurity) + OrNone(info.security, none) + "\r\n";
        wireless += label(kTextCertification) + OrNone(info.certification, none) + "\r\n";
        wireless += label(kTextEncryption) + OrNone(info.encryption, none);
    }

    std::string& tables = reports.tables;
    tables = label(kTextArpTitle);
    for (const std::string& entry : info.arp) {
        tables += "\r\n  " + entry;
    }
    tables += "\r\n\r\n" + label(kTextNeighbourTitle);
    for (const std::string& entry : info.neighbours) {
        tables += "\r\n  " + entry;
    }
    return reports;
}

}  // namespace varnow
