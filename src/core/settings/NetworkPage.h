#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/AddressText.h"
#include "settings/SettingsStore.h"

namespace varnow {

// What a page's check found: the message to show and the control to give the focus to.
struct PageCheck {
    int messageId = 0;                // 0: the page is sound and its values are stored
    int focus = 0;                    // the control's id
    std::vector<std::string> args{};  // the message's values
    bool ok() const { return messageId == 0; }
};

// The rules of the network page: what its controls show and allow, as the user's actions
// change them, and what Write checks and stores. The IPv4 group is editable; the IPv6 group
// only shows the block's values and every write switches IPv6 off. The desktop tool binds
// its widgets to this; the command line applies the same actions.
class NetworkPage {
public:
    // Control ids, as the page's template numbers them.
    enum Id : int {
        kAddress = 1013,
        kMask = 1014,
        kGateway = 1015,
        kDns = 1016,
        kStatic = 1017,
        kDhcp = 1018,
        kDnsAuto = 1019,
        kIpv6Address = 1024,
        kIpv6Prefix = 1025,
        kIpv6Gateway = 1026,
        kIpv6Dns = 1027,
    };

    struct Shown {
        bool dhcp = false;     // the DHCP radio is selected, else the static one
        bool dnsAuto = false;  // "Obtain DNS Server Address Automatically" is checked
        std::optional<Ipv4Address> address, mask, gateway, dns;  // nullopt: cleared
        bool euiRandom = false;                                  // "Random", else "MAC Address"
        bool ipv6Static = false;  // the IPv6 static radio, else automatic
        std::string ipv6Address, ipv6Prefix, ipv6Gateway, ipv6Dns;
    };
    struct Enabled {
        bool address = true;  // the address, mask and gateway fields
        bool dns = true;
        bool dnsAuto = true;
        bool radios = true;  // static and DHCP
        // The IPv6 group, "IPv6: Disable" included, is never enabled.
    };

    void Fill(const SettingsStore& store);
    // The IPv4 group is locked while the wireless LAN runs as a Soft AP (topology 2).
    void SetWlanEnabled(bool enabled) { m_wlanEnabled = enabled; }
    void ApplyTopologyLock(int topology);
    void SelectStatic(const SettingsStore& store);
    void SelectDhcp();
    void SetDnsAuto(bool checked, const SettingsStore& store);
    // The user types an address into a field.
    void Type(int field, const Ipv4Address& address);

    // Checks the IPv6 texts and the prefix, and stores the IPv4 group and the flags. An
    // address typed anew must be one host's (a gateway too), a mask typed anew a mask.
    PageCheck Collect(SettingsStore& store) const;

    const Shown& shown() const { return m_shown; }
    const Enabled& enabled() const { return m_enabled; }

private:
    void ShowStored(const SettingsStore& store);

    Shown m_shown;
    Enabled m_enabled;
    bool m_wlanEnabled = false;
    int m_topology = 0;
};

}  // namespace varnow
