#include "settings/NetworkPage.h"

#include <algorithm>
#include <charconv>

#include "settings/AddressText.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// Empty when every byte is zero: the field shows nothing for "::".
std::string Ipv6Text(const std::array<std::uint8_t, 16>& address, bool emptyWhenZero) {
    const bool zero = std::all_of(address.begin(), address.end(), [](auto b) { return b == 0; });
    return zero && emptyWhenZero ? std::string() : FormatIpv6Text(address);
}

// A shown IPv6 text must parse, and be neither multicast nor the loopback address.
bool Ipv6TextIsSound(const std::string& text) {
    const std::optional<Ipv6Address> address = ParseIpv6Text(text);
    if (!address) {
        return false;
    }
    const bool loopback =
        std::all_of(address->begin(), address->end() - 1, [](auto b) { return b == 0; }) &&
        address->back() == 1;
    return address->front() != 0xFF && !loopback;
}

// The prefix text as the page reads it: a signed number kept as 16 bits; not a number is 0.
std::uint16_t PrefixOf(const std::string& text) {
    long value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return static_cast<std::uint16_t>(value);
}

}  // namespace

void NetworkPage::ShowStored(const SettingsStore& store) {
    m_shown.address = store.ipv4Address;
    m_shown.mask = store.ipv4SubnetMask;
    m_shown.gateway = store.ipv4Gateway;
    m_shown.dns = store.ipv4DnsServer;
}

void NetworkPage::Fill(const SettingsStore& store) {
    const std::uint32_t flags = store.networkFlags;
    m_shown = Shown{};
    m_enabled = Enabled{};
    if ((flags & kFlagDhcp) != 0) {
        m_shown.dhcp = true;
        m_enabled.address = m_enabled.dns = false;
        m_enabled.dnsAuto = true;
        if ((flags & kFlagAutoDns) != 0) {
            m_shown.dnsAuto = true;
        } else {
            m_enabled.dns = true;
            m_shown.dns = store.ipv4DnsServer;
        }
    } else {
        ShowStored(store);
        m_enabled.dnsAuto = false;
    }
    if ((flags & kFlagIpv6Enabled) != 0 && (flags & kFlagIpv6Static) != 0) {
        m_shown.ipv6Address = FormatIpv6Text(store.ipv6Address);
        m_shown.ipv6Gateway = Ipv6Text(store.ipv6Gateway, true);
        m_shown.ipv6Dns = Ipv6Text(store.ipv6DnsServer, true);
        m_shown.ipv6Prefix = std::to_string(store.ipv6PrefixLength);
    }
    m_shown.euiRandom = (flags & kFlagIpv6RandomId) != 0;
    m_shown.ipv6Static = (flags & kFlagIpv6Static) != 0;
}

void NetworkPage::ApplyTopologyLock(int topology) {
    m_topology = topology;
    if (topology == 2 && m_wlanEnabled) {
        m_enabled.address = m_enabled.dns = m_enabled.dnsAuto = m_enabled.radios = false;
        return;
    }
    m_enabled.address = m_enabled.dns = m_enabled.dnsAuto = m_enabled.radios = true;
    if (!m_shown.dhcp) {
        m_enabled.dnsAuto = false;
    } else {
        // Under DHCP the address fields are the server's; the DNS field is the user's unless
        // the DNS server comes automatically too.
        m_enabled.address = false;
        m_enabled.dns = !m_shown.dnsAuto;
    }
}

void NetworkPage::SelectStatic(const SettingsStore& store) {
    m_shown.dhcp = false;
    m_enabled.address = m_enabled.dns = true;
    ShowStored(store);  // the stored values, not what was shown before
    m_shown.dnsAuto = false;
    m_enabled.dnsAuto = false;
}

void NetworkPage::SelectDhcp() {
    m_shown.dhcp = true;
    m_enabled.address = m_enabled.dns = false;
    m_shown.address = m_shown.mask = m_shown.gateway = m_shown.dns = std::nullopt;
    m_enabled.dnsAuto = true;
    m_shown.dnsAuto = true;
}

void NetworkPage::SetDnsAuto(bool checked, const SettingsStore& store) {
    m_shown.dnsAuto = checked;
    m_enabled.dns = !checked;
    m_shown.dns = checked ? std::nullopt : std::optional<Ipv4Address>(store.ipv4DnsServer);
}

void NetworkPage::Type(int field, const Ipv4Address& address) {
    switch (field) {
        case kAddress:
            m_shown.address = address;
            break;
        case kMask:
            m_shown.mask = address;
            break;
        case kGateway:
            m_shown.gateway = address;
            break;
        case kDns:
            m_shown.dns = address;
            break;
        default:
            break;
    }
}

PageCheck NetworkPage::Collect(SettingsStore& store) const {
    const std::pair<const std::string*, int> texts[] = {{&m_shown.ipv6Address, kIpv6Address},
                                                        {&m_shown.ipv6Gateway, kIpv6Gateway},
                                                        {&m_shown.ipv6Dns, kIpv6Dns}};
    for (const auto& [text, id] : texts) {
        if (!text->empty() && !Ipv6TextIsSound(*text)) {
            return {kMsgIncorrectIpv6, id};
        }
    }
    if (PrefixOf(m_shown.ipv6Prefix) > 128) {
        return {kMsgIncorrectIpv6, kIpv6Prefix};
    }
    const Ipv4Address none{};
    if (!m_shown.dhcp) {
        // Only what differs from the block is judged: a value the board holds is its own.
        const Ipv4Address address = m_shown.address.value_or(none);
        const Ipv4Address mask = m_shown.mask.value_or(none);
        const Ipv4Address gateway = m_shown.gateway.value_or(none);
        if (address != store.ipv4Address && !IsHostAddress(address)) {
            return {kMsgAddressUnusable, kAddress, {DottedQuad(address)}};
        }
        if (mask != store.ipv4SubnetMask && !IsContiguousMask(mask)) {
            return {kMsgNetmaskGaps, kMask, {DottedQuad(mask)}};
        }
        if (gateway != store.ipv4Gateway && !IsHostAddress(gateway)) {
            return {kMsgGatewayUnusable, kGateway, {DottedQuad(gateway)}};
        }
        store.ipv4Address = m_shown.address.value_or(none);
        store.ipv4SubnetMask = m_shown.mask.value_or(none);
        store.ipv4Gateway = m_shown.gateway.value_or(none);
        store.ipv4DnsServer = m_shown.dns.value_or(none);
        store.networkFlags &= ~(kFlagDhcp | kFlagAutoDns);
    } else {
        store.networkFlags |= kFlagDhcp;
        if (m_shown.dnsAuto) {
            store.networkFlags |= kFlagAutoDns;
        } else {
            store.ipv4DnsServer = m_shown.dns.value_or(none);
            store.networkFlags &= ~kFlagAutoDns;
        }
    }
    store.networkFlags &= ~kFlagIpv6Enabled;  // the page always shows "Disable"
    return {};
}

}  // namespace varnow
