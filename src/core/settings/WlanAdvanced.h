#pragma once

#include <cstdint>

namespace varnow {

// The rules of the "Advanced Settings" dialog: the PHY mode and the options it allows. The
// options a mode does not allow are disabled but keep, and write back, their values.
class WlanAdvanced {
public:
    struct Enabled {
        bool shortPreamble = false;
        bool shortSlot = false;
        bool ctsProtection = false;
        // Background scan is never enabled.
    };

    // `topology`: the wireless LAN page's selected radio (0, 1 or 2).
    WlanAdvanced(int topology, std::uint32_t wlanWord);

    // 0 for none, 1 802.11, 2 802.11b, 3 802.11b/g.
    void SelectPhy(int mode);
    void SetShortPreamble(bool on) { m_shortPreamble = on; }
    void SetShortSlot(bool on) { m_shortSlot = on; }
    void SetCtsProtection(bool on) { m_ctsProtection = on; }

    // OK: the WLAN word with the mode and the four options written in, the rest kept.
    std::uint32_t Apply(std::uint32_t wlanWord) const;

    int phy() const { return m_phy; }
    bool shortPreamble() const { return m_shortPreamble; }
    bool shortSlot() const { return m_shortSlot; }
    bool ctsProtection() const { return m_ctsProtection; }
    bool backgroundScan() const { return m_backgroundScan; }
    const Enabled& enabled() const { return m_enabled; }

private:
    int m_topology;
    int m_phy = 0;
    bool m_shortPreamble = false;
    bool m_shortSlot = false;
    bool m_ctsProtection = false;
    bool m_backgroundScan = false;
    Enabled m_enabled;
};

}  // namespace varnow
