#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnow::sim {

// The simulated board's settings (environment) block, built and checked with the board's own
// CRC, never with the tool's codec.
namespace environment {

using Bytes = std::vector<std::uint8_t>;

struct Options {
    bool wlanRecords = true;  // the records of type 9 and the 802.1X pair
    std::string productName = "VARNO-104K demo board";
    std::size_t futureRecordBytes = 7;  // the payload of the record the tool does not know
};

// A block as a board leaves the factory with: static IPv4 192.168.0.100/24, gateway
// 192.168.0.1, DNS 8.8.8.8; IPv6 records without IPv6 enabled; wireless LAN records
// (Infrastructure, SSID "varno-lab"); an 802.1X ID and password area; carried records and one
// record of a type the tool does not know.
Bytes FactoryBlock(const Options& options);

// Whether a block passes the board's checks: magic, header CRC, every record's CRC, records
// inside the block. Empty text otherwise; the reason.
std::string Problem(const Bytes& block);

}  // namespace environment
}  // namespace varnow::sim
