#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnow::sim {

// What the board's network interfaces report, where its settings block does not say it.
struct NetworkState {
    std::string mac = "00:1A:2B:3C:4D:5E";
    std::string linkLocal = "fe80::21a:2bff:fe3c:4d5e";
    std::string global = "2001:db8::64";
    std::string gateway6 = "fe80::1";
    std::string prefix6 = "64";
    int conflicts = 0;
    std::string conflictMac = "00:11:22:33:44:55";
    std::string conflictTick = "90061";
    std::string rssi = "55";
    std::string rsna = "WPA2";
    std::string akm = "PSK";
    std::string cipher = "CCMP";
    std::vector<std::string> arp{"192.168.0.1     00:11:22:33:44:01  net0",
                                 "192.168.0.20    00:11:22:33:44:14  net0"};
    std::vector<std::string> neighbours{"fe80::1         00:11:22:33:44:01  REACHABLE"};
    bool tablesEndWithOkAlone = false;  // past a table's end, "410 OK" alone, not an empty line
};

// The lines the board answers an "ioctl get" query with, before its "410 OK": "net0 ipaddr",
// "net1 ssid", "net0 arp 2", ... IPv4 values and the SSID come from its settings block; a
// board without wireless LAN records has an inoperative net1 (its mode is empty). A table
// index past the end is answered by an empty line. Nullopt: no such query ("501 ").
std::optional<std::vector<std::string>> AnswerQuery(const std::string& query,
                                                    const NetworkState& state,
                                                    const std::vector<std::uint8_t>& settings,
                                                    bool endlessTables);

}  // namespace varnow::sim
