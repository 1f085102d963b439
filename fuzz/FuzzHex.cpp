// Hexadecimal text conversions and the login challenge parser.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/AddressText.h"
#include "settings/AdminPassword.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::array<std::uint8_t, 13> bytes{};
    varnow::HexTextToBytes(text, std::span(bytes).first(size % 14));
    if (varnow::HexPairsToBytes(text).size() != size / 2) {
        __builtin_trap();
    }
    varnow::ParseChallenge(text);
    varnow::AdminKeySalt(text);
    return 0;
}
