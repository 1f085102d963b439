#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "settings/SettingsStore.h"

namespace varnow {

// Calls visit(payloadOffset, field) for each fixed-size settings-store field that the record
// of this type and subtype holds; `field` is a std::array of bytes or a 16- or 32-bit number.
// Returns false for records without fixed fields (texts, the end record, unknown records).
template <typename Store, typename Visitor>
bool VisitRecordFields(std::uint8_t type, std::uint8_t subtype, Store& store, Visitor&& visit) {
    switch ((type << 8) | subtype) {
        case 0x0201:
            visit(0, store.carried2_1);
            return true;
        case 0x0300:
            visit(0, store.ipv4Address);
            return true;
        case 0x0301:
            visit(0, store.ipv4SubnetMask);
            return true;
        case 0x0302:
            visit(0, store.ipv4Gateway);
            return true;
        case 0x0303:
            visit(0, store.ipv4DnsServer);
            return true;
        case 0x0400:
            visit(0, store.ipv6Address);
            visit(16, store.ipv6PrefixLength);
            return true;
        case 0x0402:
            visit(0, store.ipv6Gateway);
            return true;
        case 0x0403:
            visit(0, store.ipv6DnsServer);
            return true;
        case 0x0500:
            visit(0, store.networkFlags);
            return true;
        case 0x0600:
            visit(0, store.carried6_0);
            return true;
        case 0x0601:
            visit(0, store.carried6_1);
            return true;
        case 0x0803:
            visit(0, store.carried8_3);
            return true;
        case 0x0900:
            visit(0, store.wlanWord);
            return true;
        case 0x0901:
            visit(0, store.ssid);
            return true;
        case 0x0902:
            visit(0, store.wepKeys40);
            return true;
        case 0x0903:
            visit(0, store.wepKeys104);
            return true;
        case 0x0908:
            visit(0, store.sharedKey);
            return true;
        case 0x0909:
            visit(0, store.preSharedKey);
            return true;
        case 0x0A00:
            visit(0, store.carried10_0);
            return true;
        default:
            return false;
    }
}

inline constexpr std::uint8_t kEndRecordType = 255;
inline constexpr std::uint8_t kWlanRecordType = 9;
inline constexpr std::uint16_t kProductNameRecord = 0x0C00;
inline constexpr std::uint16_t kDot1xIdRecord = 0x0804;
inline constexpr std::uint16_t kDot1xPasswordRecord = 0x0805;

}  // namespace varnow
