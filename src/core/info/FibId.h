#pragma once

#include <optional>
#include <string_view>

namespace varnow {

struct FirmwareVersion {
    int major = 0;
    int minor = 0;
    int patch = 0;
};

// What the board's FIB id says of its firmware: its hexadecimal pairs are bytes; bytes 4 and
// 5 hold the size in units of 16 bytes (little-endian), byte 12 the major and minor version
// (a nibble each), byte 13 the patch number.
struct FibInfo {
    std::optional<int> sizeKib;              // when the id has more than 12 characters
    std::optional<FirmwareVersion> version;  // when it has more than 28
};

FibInfo DecodeFibId(std::string_view fibId);

}  // namespace varnow
