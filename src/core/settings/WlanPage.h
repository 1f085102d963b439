#pragma once

#include <optional>
#include <string>

#include "settings/NetworkPage.h"
#include "settings/SettingsStore.h"

namespace varnow {

// WLAN word fields.
inline constexpr std::uint32_t kWlanTopologyMask = 0x0000000F;
inline constexpr std::uint32_t kWlanChannelMask = 0x000000F0;
inline constexpr std::uint32_t kWlanKeySizeMask = 0x00000300;
inline constexpr std::uint32_t kWlanAlwaysZeroMask = 0x00000C00;
inline constexpr std::uint32_t kWlanBackgroundScan = 1u << 13;
inline constexpr std::uint32_t kWlanDot1xMask = 0x00070000;
inline constexpr std::uint32_t kWlanPhyMask = 0x0E000000;
inline constexpr std::uint32_t kWlanShortPreamble = 1u << 28;
inline constexpr std::uint32_t kWlanShortSlot = 1u << 29;
inline constexpr std::uint32_t kWlanCtsProtection = 1u << 30;

// The 802.1X methods of the page's list, in its order, as the WLAN word holds them.
inline constexpr std::uint32_t kDot1xMethods[] = {0, 1, 3, 5};  // none, EAP-TLS, EAP-TTLS, PEAP

// The rules of the wireless LAN page: enable, topology, channel, SSID, shared key, the 802.1X
// method; what Write checks (key lengths), derives (WEP keys, the pre-shared key) and stores.
class WlanPage {
public:
    enum Id : int {
        kEnable = 1082,
        kAdhoc = 1028,
        kInfrastructure = 1029,
        kSoftAp = 1030,
        kChannel = 1031,
        kSsid = 1032,
        kAdvanced = 1003,
        kSharedKey = 1035,
        kHideCharacters = 1036,
        kDot1x = 1037,
        kIdPassword = 1038,
    };
    static constexpr std::size_t kSsidLimit = 32;
    static constexpr std::size_t kKeyLimit = 63;

    struct Shown {
        bool enabled = false;
        std::optional<int> topology;  // the selected radio: 0 Ad-hoc, 1 Infrastructure, 2 Soft AP
        std::optional<int> channel;   // the list's item: 0 automatic, 1 to 13
        std::string ssid;
        std::string sharedKey;
        bool hideCharacters = true;
        std::optional<int> dot1xItem;  // 0 Disable, 1 EAP TLS, 2 EAP TTLS, 3 PEAP
        int idPasswordCaption = 0;     // the string id: "ID/Password" or "ID"
    };
    struct Enabled {
        bool topology = true;  // the three radios
        bool channel = true;
        bool ssid = true;
        bool advanced = true;
        bool sharedKey = true;
        bool hideCharacters = true;
        bool dot1x = true;
        bool idPassword = true;
        // The antenna radios are never enabled.
    };

    // The page as it is created: "Enable" from the network flags word, all off when disabled.
    void Init(const SettingsStore& store);
    void Fill(const SettingsStore& store);
    // "WLAN": Disable turns every control off; Enable turns them on and shows the stored
    // values again (what was typed is replaced).
    void SetEnabled(bool enabled, const SettingsStore& store);
    void SelectTopology(int topology);
    void SelectChannel(int item) { m_shown.channel = item; }
    void SelectDot1x(int item);
    void TypeSsid(std::string text) { m_shown.ssid = LimitedText(std::move(text), kSsidLimit); }
    void TypeSharedKey(std::string text) {
        m_shown.sharedKey = LimitedText(std::move(text), kKeyLimit);
    }
    void SetHideCharacters(bool hide) { m_shown.hideCharacters = hide; }

    // Checks the key's length, derives the WEP keys and the pre-shared key, stores the page.
    PageCheck Collect(SettingsStore& store) const;

    const Shown& shown() const { return m_shown; }
    const Enabled& enabled() const { return m_enabled; }
    // The topology the page last took: what locks the network page.
    int topology() const { return m_topology; }

    // A text as an edit of `limit` characters takes it (UTF-8 characters, not bytes).
    static std::string LimitedText(std::string text, std::size_t limit);

private:
    void EnableAll(bool enabled);

    Shown m_shown;
    Enabled m_enabled;
    int m_topology = 0;
};

}  // namespace varnow
