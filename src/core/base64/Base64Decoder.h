#pragma once

#include "common/Bytes.h"

namespace varnow {

// Decodes a bulk reply the way the board's data has always been read:
// - a byte below 32 as a signed value (controls and every byte 0x80..0xFF) is skipped, but
//   only where a group of four characters would start;
// - each group of four gives three bytes; a "=" as third character ends decoding with one
//   byte of that group counted, a "=" as fourth with two;
// - characters outside the alphabet (and "=" elsewhere) count as 0; the low 7 bits index it;
// - a final group cut short reads its missing characters as NUL bytes.
// The result never holds more than 3 bytes for every 4 input bytes (rounded up).
Bytes DecodeBase64(ByteView text);

}  // namespace varnow
