#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace varnow::sim {

// The simulated board's certificate block, built and checked with the board's own CRC.
namespace certificates {

using Bytes = std::vector<std::uint8_t>;

// A block as a board leaves the factory with: no key and no certificate yet, and the two
// records of its own (subtypes 0x07 and 0x08) that every new block must carry.
Bytes FactoryBlock();

// Whether a block passes the board's checks: magic, total length, header CRC, every record's
// CRC, records inside the block. Empty text when it does; the reason otherwise.
std::string Problem(const Bytes& block);

}  // namespace certificates
}  // namespace varnow::sim
