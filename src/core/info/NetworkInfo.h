#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/StringTable.h"

namespace varnow {

// What a board's interfaces report: net0's addresses and duplicate-address detection, net1's
// wireless state, the ARP and IPv6 neighbour tables. Texts are the reply lines as received.
struct NetworkInfo {
    std::string ipv4Address, subnetMask, gateway, nameServer;
    std::int32_t conflictCount = 0;
    std::string conflictMac;
    std::int64_t conflictSeconds = 0;
    std::string linkLocal, global, gateway6;
    std::int32_t prefix6 = 0;
    // The numbers' replies as they came, to check their form.
    std::string conflictCountReply, conflictSecondsReply, prefix6Reply;
    std::string mode, ssid, signal, security, certification, encryption;
    std::vector<std::string> arp, neighbours;
};

// The three reports of the "Network information" dialog, lines ended by CR LF, in the
// language's labels.
struct NetworkReports {
    std::string network;
    std::string wireless;
    std::string tables;
};
NetworkReports BuildNetworkReports(const NetworkInfo& info, const StringTable& strings,
                                   Language language);

}  // namespace varnow
