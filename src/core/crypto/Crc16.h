#pragma once

#include <cstdint>

#include "common/Bytes.h"

namespace varnow {

// CRC-16/AUG-CCITT: polynomial 0x1021, initial register 0x1D0F, no reflection, no final XOR.
// The one checksum of every board format: images, firmware, settings, passwords, certificates.
std::uint16_t Crc16(ByteView bytes);

}  // namespace varnow
