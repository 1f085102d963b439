// Decode then encode of the settings block: whatever decodes must encode to a block that
// decodes again to the same settings.
#include <cstddef>
#include <cstdint>

#include "SilentMessenger.h"
#include "settings/EnvironmentBlock.h"

namespace {

bool SameStore(const varnow::SettingsStore& a, const varnow::SettingsStore& b) {
    return a.ipv4Address == b.ipv4Address && a.networkFlags == b.networkFlags &&
           a.wlanWord == b.wlanWord && a.ssid == b.ssid && a.productName == b.productName &&
           a.preSharedKey == b.preSharedKey && a.ipv6PrefixLength == b.ipv6PrefixLength;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static SilentMessenger silent;
    varnow::Messenger& messenger = silent.messenger;
    varnow::EnvironmentData first;
    if (!varnow::DecodeEnvironmentBlock(varnow::ByteView(data, size), first, messenger)) {
        return 0;
    }
    const auto text = varnow::EncodeEnvironmentBlock(first);
    if (!text) {
        return 0;
    }
    varnow::EnvironmentData second;
    if (!varnow::DecodeEnvironmentBlock(varnow::AsBytes(*text), second, messenger) ||
        !SameStore(first.store, second.store) || first.wlanPresent != second.wlanPresent) {
        __builtin_trap();
    }
    return 0;
}
