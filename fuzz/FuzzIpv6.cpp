// The IPv6 text parser: whatever it accepts formats back to text that parses to the same bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "settings/AddressText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto address = varnow::ParseIpv6Text(text);
    if (address && varnow::ParseIpv6Text(varnow::FormatIpv6Text(*address)) != address) {
        __builtin_trap();
    }
    return 0;
}
