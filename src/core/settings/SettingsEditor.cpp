#include "settings/SettingsEditor.h"

#include <algorithm>
#include <charconv>

#include "common/BoardText.h"
#include "common/Utf8Text.h"
#include "settings/AddressText.h"
#include "settings/Dot1xCredentials.h"
#include "settings/FieldText.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

constexpr const char* kOnOff = "on or off";
const std::vector<std::string> kModes{"static", "dhcp"};
const std::vector<std::string> kTopologies{"adhoc", "infrastructure", "softap"};
const std::vector<std::string> kDot1x{"off", "eap-tls", "eap-ttls", "peap"};
const std::vector<std::string> kPhys{"none", "802.11", "802.11b", "802.11b/g"};

const std::vector<std::string> kEditable{
    "ipv4.mode",       "ipv4.address",       "ipv4.netmask", "ipv4.gateway",
    "ipv4.dns",        "ipv4.dns_auto",      "wlan.enabled", "wlan.topology",
    "wlan.channel",    "wlan.ssid",          "wlan.key",     "wlan.8021x",
    "wlan.identity",   "wlan.password",      "wlan.phy",     "wlan.short_preamble",
    "wlan.short_slot", "wlan.cts_protection"};
// Shown only, with why.
const std::vector<std::pair<std::string, std::string>> kShownOnly{
    {"product_name", "it is the product's"},
    {"ipv6.enabled", "every write switches IPv6 off"},
    {"ipv6.address", "IPv6 is shown only"},
    {"ipv6.prefix", "IPv6 is shown only"},
    {"ipv6.gateway", "IPv6 is shown only"},
    {"ipv6.dns", "IPv6 is shown only"},
    {"ipv6.mode", "IPv6 is shown only"},
    {"ipv6.eui", "IPv6 is shown only"},
    {"wlan.key_size", "it follows the length of wlan.key"},
    {"wlan.key_set", "give wlan.key"},
    {"wlan.password_set", "give wlan.password"},
    {"wlan.background_scan", "the product decides it"}};

// The order in which the pages take the keys: what locks others comes first.
int Stage(const std::string& key) {
    if (key == "wlan.enabled" || key == "wlan.topology")
        return 0;
    if (key == "ipv4.mode")
        return 1;
    if (key == "ipv4.dns_auto")
        return 2;
    if (key.starts_with("ipv4."))
        return 3;
    if (key == "wlan.8021x")
        return 4;
    if (key == "wlan.identity" || key == "wlan.password")
        return 5;
    if (key == "wlan.phy")
        return 6;
    if (key == "wlan.short_preamble" || key == "wlan.short_slot" || key == "wlan.cts_protection")
        return 7;
    return 4;
}

std::optional<bool> OnOff(const std::string& value) {
    if (value == "on" || value == "yes" || value == "true" || value == "1")
        return true;
    if (value == "off" || value == "no" || value == "false" || value == "0")
        return false;
    return std::nullopt;
}

std::optional<int> Choice(const std::string& value, const std::vector<std::string>& choices) {
    const auto found = std::find(choices.begin(), choices.end(), value);
    return found == choices.end() ? std::nullopt
                                  : std::optional<int>(static_cast<int>(found - choices.begin()));
}

std::string Joined(const std::vector<std::string>& choices) {
    std::string text;
    for (std::size_t i = 0; i < choices.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == choices.size() ? " or " : ", ") + choices[i];
    }
    return text;
}

std::optional<Ipv4Address> Ipv4(const std::string& value) {
    Ipv4Address address{};
    const char* at = value.data();
    const char* end = value.data() + value.size();
    for (std::size_t i = 0; i < 4; ++i) {
        unsigned octet = 256;
        const auto [next, error] = std::from_chars(at, end, octet);
        if (error != std::errc() || octet > 255 || next == at) {
            return std::nullopt;
        }
        address[i] = static_cast<std::uint8_t>(octet);
        at = next;
        if (i < 3 && (at == end || *at++ != '.')) {
            return std::nullopt;
        }
    }
    return at == end ? std::optional<Ipv4Address>(address) : std::nullopt;
}

std::optional<int> Channel(const std::string& value) {
    if (value == "auto") {
        return 0;
    }
    int channel = -1;
    const auto [next, error] = std::from_chars(value.data(), value.data() + value.size(), channel);
    if (error != std::errc() || next != value.data() + value.size() || channel < 0 ||
        channel > 13) {
        return std::nullopt;
    }
    return channel;
}

// Secrets are never repeated back, not even wrong ones.
SettingRefusal ValueError(const std::string& key, const std::string& allowed,
                       const std::string& given) {
    const bool secret = key == "wlan.key" || key == "wlan.password";
    return SettingRefusal{kCliSettingValue, {key, allowed, secret ? "..." : given}};
}

SettingRefusal Locked(const std::string& key, const std::string& condition) {
    return SettingRefusal{kCliSettingLocked, {key, condition}};
}

SettingValue Address(const Ipv4Address& address) {
    return DottedQuad(address);
}

SettingValue Address6(const std::array<std::uint8_t, 16>& address) {
    return FormatIpv6Text(address);
}

template <std::size_t N>
SettingValue Text(const std::array<std::uint8_t, N>& field) {
    return BoardTextToUtf8(UpToFirstNul(field));
}

SettingValue Word(const std::string& text) {
    return text;
}

SettingValue Number(long long number) {
    return number;
}

SettingValue Flag(bool on) {
    return on;
}

template <std::size_t N>
bool IsSet(const std::array<std::uint8_t, N>& field) {
    return field[0] != 0;
}

}  // namespace

SettingsEditor::SettingsEditor(EnvironmentData data) : m_pages(std::move(data)) {}

ShownSettings SettingsEditor::Show(const EnvironmentData& data) {
    const SettingsStore& store = data.store;
    const std::uint32_t flags = store.networkFlags;
    ShownSettings shown{
        {"product_name", BoardTextToUtf8(store.productName)},
        {"ipv4.mode", Word((flags & kFlagDhcp) ? "dhcp" : "static")},
        {"ipv4.address", Address(store.ipv4Address)},
        {"ipv4.netmask", Address(store.ipv4SubnetMask)},
        {"ipv4.gateway", Address(store.ipv4Gateway)},
        {"ipv4.dns", Address(store.ipv4DnsServer)},
        {"ipv4.dns_auto", Flag((flags & kFlagAutoDns) != 0)},
        {"ipv6.enabled", Flag((flags & kFlagIpv6Enabled) != 0)},
        {"ipv6.address", Address6(store.ipv6Address)},
        {"ipv6.prefix", Number(store.ipv6PrefixLength)},
        {"ipv6.gateway", Address6(store.ipv6Gateway)},
        {"ipv6.dns", Address6(store.ipv6DnsServer)},
        {"ipv6.mode", Word((flags & kFlagIpv6Static) ? "static" : "auto")},
        {"ipv6.eui", Word((flags & kFlagIpv6RandomId) ? "random" : "mac")},
    };
    if (!data.wlanPresent) {
        return shown;
    }
    const std::uint32_t word = store.wlanWord;
    const std::uint32_t topology = word & kWlanTopologyMask;
    const std::uint32_t keySize = (word & kWlanKeySizeMask) >> 8;
    const std::uint32_t method = (word & kWlanDot1xMask) >> 16;
    const auto dot1x = std::find(std::begin(kDot1xMethods), std::end(kDot1xMethods), method);
    const std::uint32_t phy = (word & kWlanPhyMask) >> 25;
    const int channel = static_cast<int>((word & kWlanChannelMask) >> 4);
    const ShownSettings wlan{
        {"wlan.enabled", Flag((flags & kFlagWlanEnabled) != 0)},
        {"wlan.topology", topology < 3 ? Word(kTopologies[topology]) : Number(topology)},
        {"wlan.channel", channel == 0 ? Word("auto") : Number(channel)},
        {"wlan.ssid", Text(store.ssid)},
        {"wlan.key_size", Number(keySize == 1 ? 40 : keySize == 2 ? 104 : 0)},
        {"wlan.key_set", Flag(IsSet(store.sharedKey))},
        {"wlan.8021x",
         dot1x != std::end(kDot1xMethods)
             ? Word(kDot1x[static_cast<std::size_t>(dot1x - std::begin(kDot1xMethods))])
             : Number(method)},
        {"wlan.identity",
         Word(data.dot1xId ? BoardTextToUtf8(UpToFirstNul(*data.dot1xId)) : std::string())},
        {"wlan.password_set", Flag(data.dot1xPassword && !data.dot1xPassword->empty() &&
                                   data.dot1xPassword->front() != 0)},
        {"wlan.phy", phy <= 3 ? Word(kPhys[phy]) : Number(phy)},
        {"wlan.short_preamble", Flag((word & kWlanShortPreamble) != 0)},
        {"wlan.short_slot", Flag((word & kWlanShortSlot) != 0)},
        {"wlan.cts_protection", Flag((word & kWlanCtsProtection) != 0)},
        {"wlan.background_scan", Flag((word & kWlanBackgroundScan) != 0)},
    };
    shown.insert(shown.end(), wlan.begin(), wlan.end());
    return shown;
}

std::vector<SettingChange> SettingsEditor::Changes(const EnvironmentData& before,
                                                   const EnvironmentData& after) {
    const ShownSettings old = Show(before);
    const ShownSettings now = Show(after);
    std::vector<SettingChange> changes;
    for (std::size_t i = 0; i < old.size() && i < now.size(); ++i) {
        const std::string& key = old[i].key;
        // The secrets are shown only as "set": their own bytes tell whether they changed.
        if (key == "wlan.key_set" || key == "wlan.password_set") {
            const bool keyChanged = key == "wlan.key_set"
                                        ? before.store.sharedKey != after.store.sharedKey
                                        : before.dot1xPassword != after.dot1xPassword;
            if (keyChanged) {
                changes.push_back({key == "wlan.key_set" ? "wlan.key" : "wlan.password", {}, {}});
            }
        } else if (key != "wlan.key_size" && old[i].value != now[i].value) {
            changes.push_back({key, old[i].value, now[i].value});
        }
    }
    return changes;
}

// A text field's refusal: too many bytes as the board stores it, or a control character.
static std::optional<SettingRefusal> FieldRefusal(const std::string& value, std::size_t byteLimit,
                                                  int tooLong, int control) {
    switch (CheckFieldText(value, byteLimit)) {
        case FieldTextProblem::TooLong:
            return SettingRefusal{tooLong, TooLongArgs(value, byteLimit)};
        case FieldTextProblem::ControlCharacter:
            return SettingRefusal{control, {}};
        case FieldTextProblem::None:
            break;
    }
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::CheckSyntax(const std::string& key,
                                                       const std::string& value) {
    for (const auto& [shown, why] : kShownOnly) {
        if (key == shown) {
            return SettingRefusal{kCliSettingShownOnly, {key, why}};
        }
    }
    if (std::find(kEditable.begin(), kEditable.end(), key) == kEditable.end()) {
        return SettingRefusal{kCliUnknownSetting, {key}};
    }
    bool sound = true;
    std::string allowed;
    if (key == "ipv4.mode") {
        sound = Choice(value, kModes).has_value(), allowed = Joined(kModes);
    } else if (key == "ipv4.dns_auto" || key == "wlan.enabled" || key == "wlan.short_preamble" ||
               key == "wlan.short_slot" || key == "wlan.cts_protection") {
        sound = OnOff(value).has_value(), allowed = kOnOff;
    } else if (key.starts_with("ipv4.")) {
        const std::optional<Ipv4Address> address = Ipv4(value);
        if (address && key == "ipv4.netmask" && !IsContiguousMask(*address)) {
            return SettingRefusal{kMsgNetmaskGaps, {DottedQuad(*address)}};
        }
        if (address && key == "ipv4.address" && !IsHostAddress(*address)) {
            return SettingRefusal{kMsgAddressUnusable, {DottedQuad(*address)}};
        }
        if (address && key == "ipv4.gateway" && !IsHostAddress(*address)) {
            return SettingRefusal{kMsgGatewayUnusable, {DottedQuad(*address)}};
        }
        sound = address.has_value(), allowed = "an IPv4 address such as 192.168.0.10";
    } else if (key == "wlan.topology") {
        sound = Choice(value, kTopologies).has_value(), allowed = Joined(kTopologies);
    } else if (key == "wlan.channel") {
        sound = Channel(value).has_value(), allowed = "auto or 1 to 13";
    } else if (key == "wlan.8021x") {
        sound = Choice(value, kDot1x).has_value(), allowed = Joined(kDot1x);
    } else if (key == "wlan.phy") {
        sound = Choice(value, kPhys).has_value(), allowed = Joined(kPhys);
    } else if (key == "wlan.ssid") {
        return FieldRefusal(value, WlanPage::kSsidLimit, kMsgSsidTooLong, kMsgSsidControl);
    } else if (key == "wlan.key") {
        if (auto refusal = FieldRefusal(value, WlanPage::kKeyLimit, kMsgKeyTooLong, kMsgKeyControl)) {
            return refusal;
        }
        const std::size_t n = Utf8Characters(value);
        sound = n == 0 || n >= 5;
        allowed = "nothing, or 5 to 63 characters in 63 bytes, without control characters";
    } else if (key == "wlan.identity") {
        // Their lengths are the block's: the pages check them against it.
        return FieldRefusal(value, value.size(), kMsgDot1xIdTooLong, kMsgDot1xIdControl);
    } else if (key == "wlan.password") {
        return FieldRefusal(value, value.size(), kMsgDot1xPasswordTooLong,
                            kMsgDot1xPasswordControl);
    }
    return sound ? std::nullopt : std::optional<SettingRefusal>(ValueError(key, allowed, value));
}

std::optional<SettingRefusal> SettingsEditor::CheckPairs(const SettingPairs& pairs) {
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (auto wrong = CheckSyntax(pairs[i].first, pairs[i].second)) {
            return wrong;
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (pairs[j].first == pairs[i].first) {
                return SettingRefusal{kCliSettingTwice, {pairs[i].first}};
            }
        }
    }
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::Apply(const SettingPairs& pairs) {
    if (auto wrong = CheckPairs(pairs)) {
        return wrong;
    }
    SettingPairs ordered = pairs;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return Stage(a.first) < Stage(b.first); });
    for (const auto& [key, value] : ordered) {
        if (auto refused = ApplyOne(key, value)) {
            return refused;
        }
    }
    if (m_advanced) {
        m_pages.data().store.wlanWord = m_advanced->Apply(m_pages.data().store.wlanWord);
    }
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::ApplyOne(const std::string& key,
                                                    const std::string& value) {
    if (auto wrong = CheckSyntax(key, value)) {
        return wrong;
    }
    if (key.starts_with("ipv4.")) {
        return ApplyNetwork(key, value);
    }
    if (!m_pages.data().wlanPresent) {
        return SettingRefusal{kCliNoWirelessSettings, {key}};
    }
    if (key == "wlan.identity" || key == "wlan.password") {
        return ApplyCredentials(key, value);
    }
    if (key == "wlan.phy" || key == "wlan.short_preamble" || key == "wlan.short_slot" ||
        key == "wlan.cts_protection") {
        return ApplyAdvanced(key, value);
    }
    return ApplyWlan(key, value);
}

std::optional<SettingRefusal> SettingsEditor::ApplyNetwork(const std::string& key,
                                                        const std::string& value) {
    const NetworkPage::Enabled& enabled = m_pages.network().enabled();
    const SettingsStore& store = m_pages.data().store;
    if (!enabled.radios) {
        return Locked(key, "the wireless LAN is a Soft AP (wlan.topology=softap)");
    }
    if (key == "ipv4.mode") {
        *Choice(value, kModes) == 0 ? m_pages.network().SelectStatic(store)
                                    : m_pages.network().SelectDhcp();
        return std::nullopt;
    }
    if (key == "ipv4.dns_auto") {
        if (!enabled.dnsAuto) {
            return Locked(key, "ipv4.mode is static");
        }
        m_pages.network().SetDnsAuto(*OnOff(value), store);
        return std::nullopt;
    }
    static const std::pair<const char*, int> fields[] = {{"ipv4.address", NetworkPage::kAddress},
                                                         {"ipv4.netmask", NetworkPage::kMask},
                                                         {"ipv4.gateway", NetworkPage::kGateway},
                                                         {"ipv4.dns", NetworkPage::kDns}};
    for (const auto& [name, id] : fields) {
        if (key != name) {
            continue;
        }
        const bool open = id == NetworkPage::kDns ? enabled.dns : enabled.address;
        if (!open) {
            return Locked(key, id == NetworkPage::kDns
                                   ? "ipv4.mode is dhcp, unless ipv4.dns_auto=off is given"
                                   : "ipv4.mode is dhcp");
        }
        m_pages.network().Type(id, *Ipv4(value));
    }
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::ApplyWlan(const std::string& key,
                                                     const std::string& value) {
    const WlanPage::Enabled& enabled = m_pages.wlan().enabled();
    if (key == "wlan.enabled") {
        m_pages.wlan().SetEnabled(*OnOff(value), m_pages.data().store);
        m_pages.LockNetworkPage();
        return std::nullopt;
    }
    if (!m_pages.wlan().shown().enabled) {
        return Locked(key, "wlan.enabled is off");
    }
    if (key == "wlan.topology") {
        m_pages.wlan().SelectTopology(*Choice(value, kTopologies));
        m_pages.LockNetworkPage();
    } else if (key == "wlan.channel") {
        if (!enabled.channel) {
            return Locked(key, "wlan.topology is infrastructure");
        }
        m_pages.wlan().SelectChannel(*Channel(value));
    } else if (key == "wlan.ssid") {
        m_pages.wlan().TypeSsid(value);
    } else if (key == "wlan.key") {
        m_pages.wlan().TypeSharedKey(value);
    } else if (key == "wlan.8021x") {
        m_pages.wlan().SelectDot1x(*Choice(value, kDot1x));
    }
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::ApplyAdvanced(const std::string& key,
                                                         const std::string& value) {
    if (!m_pages.wlan().enabled().advanced) {
        return Locked(key, "wlan.enabled is off");
    }
    if (!m_advanced) {
        m_advanced.emplace(m_pages.wlan().shown().topology.value_or(0),
                           m_pages.data().store.wlanWord);
    }
    const WlanAdvanced::Enabled& enabled = m_advanced->enabled();
    const std::string phy = "wlan.phy is " + kPhys[static_cast<std::size_t>(m_advanced->phy())];
    if (key == "wlan.phy") {
        m_advanced->SelectPhy(*Choice(value, kPhys));
    } else if (key == "wlan.short_preamble") {
        if (!enabled.shortPreamble)
            return Locked(key, phy);
        m_advanced->SetShortPreamble(*OnOff(value));
    } else if (key == "wlan.short_slot") {
        if (!enabled.shortSlot)
            return Locked(key, phy + " or wlan.topology is not infrastructure");
        m_advanced->SetShortSlot(*OnOff(value));
    } else if (key == "wlan.cts_protection") {
        if (!enabled.ctsProtection)
            return Locked(key, phy);
        m_advanced->SetCtsProtection(*OnOff(value));
    }
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::ApplyCredentials(const std::string& key,
                                                            const std::string& value) {
    if (!m_pages.wlan().enabled().idPassword) {
        return Locked(key,
                      m_pages.wlan().shown().enabled ? "wlan.8021x is off" : "wlan.enabled is off");
    }
    auto credentials =
        Dot1xCredentials::Open(m_pages.data(), m_pages.wlan().shown().dot1xItem.value_or(0));
    if (!credentials) {
        return SettingRefusal{kCliNoWirelessSettings, {key}};
    }
    const bool id = key == "wlan.identity";
    if (!id && !credentials->withPassword) {
        return Locked(key, "wlan.8021x is eap-tls");
    }
    (id ? credentials->id : credentials->password) = value;
    std::vector<std::string> args;
    if (const int problem = credentials->Check(args); problem != 0) {
        return SettingRefusal{problem, std::move(args)};
    }
    credentials->Accept(m_pages.data());
    return std::nullopt;
}

std::optional<SettingRefusal> SettingsEditor::Collect() {
    PageCheck check = m_pages.Collect();
    if (check.ok()) {
        return std::nullopt;
    }
    return SettingRefusal{check.messageId, std::move(check.args)};
}

}  // namespace varnow
