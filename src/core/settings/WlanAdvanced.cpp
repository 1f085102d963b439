#include "settings/WlanAdvanced.h"

#include "settings/WlanPage.h"

namespace varnow {

WlanAdvanced::WlanAdvanced(int topology, std::uint32_t wlanWord)
    : m_topology(topology),
      m_shortPreamble((wlanWord & kWlanShortPreamble) != 0),
      m_shortSlot((wlanWord & kWlanShortSlot) != 0),
      m_ctsProtection((wlanWord & kWlanCtsProtection) != 0),
      m_backgroundScan((wlanWord & kWlanBackgroundScan) != 0) {
    const int phy = static_cast<int>((wlanWord & kWlanPhyMask) >> 25);
    SelectPhy(phy >= 1 && phy <= 3 ? phy : 0);
}

void WlanAdvanced::SelectPhy(int mode) {
    m_phy = mode;
    m_enabled = Enabled{};
    if (mode == 2) {
        m_enabled.shortPreamble = true;
    } else if (mode == 3) {
        m_enabled.shortPreamble = m_enabled.ctsProtection = true;
        m_enabled.shortSlot = m_topology == 1;  // Infrastructure only
    }
}

std::uint32_t WlanAdvanced::Apply(std::uint32_t wlanWord) const {
    auto bit = [](bool on, std::uint32_t mask) { return on ? mask : 0u; };
    wlanWord &= ~(kWlanPhyMask | kWlanShortPreamble | kWlanShortSlot | kWlanCtsProtection |
                  kWlanBackgroundScan);
    return wlanWord | (static_cast<std::uint32_t>(m_phy) << 25) |
           bit(m_shortPreamble, kWlanShortPreamble) | bit(m_shortSlot, kWlanShortSlot) |
           bit(m_ctsProtection, kWlanCtsProtection) | bit(m_backgroundScan, kWlanBackgroundScan);
}

}  // namespace varnow
