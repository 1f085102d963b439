#include "info/FibId.h"

#include <array>

#include "settings/AddressText.h"

namespace varnow {
namespace {

// Byte `index` of the id, from its two characters (non-hexadecimal ones read as 0).
int ByteAt(std::string_view fibId, std::size_t index) {
    std::array<std::uint8_t, 1> byte{};
    HexTextToBytes(fibId.substr(2 * index, 2), byte);
    return byte[0];
}

}  // namespace

FibInfo DecodeFibId(std::string_view fibId) {
    FibInfo info;
    if (fibId.size() > 12) {
        info.sizeKib = (ByteAt(fibId, 5) * 256 + ByteAt(fibId, 4)) * 16 / 1024;
    }
    if (fibId.size() > 28) {
        const int version = ByteAt(fibId, 12);
        info.version = FirmwareVersion{version / 16, version % 16, ByteAt(fibId, 13)};
    }
    return info;
}

}  // namespace varnow
