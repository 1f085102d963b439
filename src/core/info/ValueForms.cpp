#include "info/ValueForms.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "settings/AddressText.h"

namespace varnow {
namespace {

bool Hex(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}

bool Digit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

}  // namespace

bool IsFibId(std::string_view text) {
    return text.size() == 32 && std::all_of(text.begin(), text.end(), Hex);
}

bool IsMacAddress(std::string_view text) {
    if (text.size() == 12) {
        return std::all_of(text.begin(), text.end(), Hex);
    }
    if (text.size() != 17) {
        return false;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool separator = i % 3 == 2;
        if (separator ? (text[i] != ':' && text[i] != '-') : !Hex(text[i])) {
            return false;
        }
    }
    return true;
}

bool IsDottedQuad(std::string_view text) {
    const char* at = text.data();
    const char* end = text.data() + text.size();
    for (int part = 0; part < 4; ++part) {
        unsigned value = 256;
        const auto [next, error] = std::from_chars(at, end, value);
        if (error != std::errc() || next == at || next - at > 3 || value > 255) {
            return false;
        }
        at = next;
        if (part < 3 && (at == end || *at++ != '.')) {
            return false;
        }
    }
    return at == end;
}

bool IsDecimal(std::string_view text) {
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    return !text.empty() && std::all_of(text.begin(), text.end(), Digit);
}

bool IsIpv6Text(std::string_view text) {
    // The board writes its addresses in lower case, maybe with a zone or a prefix after them.
    const std::string_view address = text.substr(0, text.find_first_of("%/"));
    return ParseIpv6Text(address).has_value();
}

bool IsWord(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '-' || c == '_' ||
               c == '/' || c == '+' || c == ' ';
    });
}

std::vector<std::string> UnreadableValues(const ProductInfo& info) {
    std::vector<std::string> unreadable;
    if (!IsFibId(info.fibId)) {
        unreadable.push_back("fib_id");
    }
    if (!IsMacAddress(info.mac)) {
        unreadable.push_back("mac");
    }
    if (!IsDecimal(info.uptimeReply)) {
        unreadable.push_back("uptime");
    }
    return unreadable;
}

std::vector<std::string> UnreadableValues(const NetworkInfo& info) {
    std::vector<std::string> unreadable;
    const std::pair<const char*, const std::string*> quads[] = {{"ipv4.address", &info.ipv4Address},
                                                                {"ipv4.netmask", &info.subnetMask},
                                                                {"ipv4.gateway", &info.gateway},
                                                                {"ipv4.dns", &info.nameServer}};
    for (const auto& [name, value] : quads) {
        if (!IsDottedQuad(*value)) {
            unreadable.push_back(name);
        }
    }
    if (!IsDecimal(info.conflictCountReply)) {
        unreadable.push_back("conflict.count");
    }
    if (info.conflictCount > 0) {
        if (!IsMacAddress(info.conflictMac)) {
            unreadable.push_back("conflict.mac");
        }
        if (!IsDecimal(info.conflictSecondsReply)) {
            unreadable.push_back("conflict.seconds");
        }
    }
    if (!IsIpv6Text(info.linkLocal)) {
        unreadable.push_back("ipv6.link_local");
    }
    // A board without a global address or an IPv6 gateway says nothing for them.
    for (const auto& [name, value] :
         {std::pair{"ipv6.global", &info.global}, std::pair{"ipv6.gateway", &info.gateway6}}) {
        if (!value->empty() && !IsIpv6Text(*value)) {
            unreadable.push_back(name);
        }
    }
    if (!IsDecimal(info.prefix6Reply)) {
        unreadable.push_back("ipv6.prefix");
    }
    if (!info.mode.empty() && !info.signal.empty() && !IsDecimal(info.signal)) {
        unreadable.push_back("wlan.signal");
    }
    // With the wireless LAN up, its security is named in words ("WPA2", "PSK", "CCMP").
    if (!info.mode.empty()) {
        for (const auto& [name, value] : {std::pair{"wlan.security", &info.security},
                                          std::pair{"wlan.certification", &info.certification},
                                          std::pair{"wlan.encryption", &info.encryption}}) {
            if (!IsWord(*value)) {
                unreadable.push_back(name);
            }
        }
    }
    return unreadable;
}

}  // namespace varnow
