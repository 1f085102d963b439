#include "settings/SettingsPages.h"

namespace varnow {

SettingsPages::SettingsPages(EnvironmentData data) : m_data(std::move(data)) {
    const SettingsStore& store = m_data.store;
    m_network.Fill(store);
    if (m_data.wlanPresent) {
        m_wlan.Init(store);
        m_wlan.Fill(store);
    }
    LockNetworkPage();
}

void SettingsPages::LockNetworkPage() {
    m_network.SetWlanEnabled(m_data.wlanPresent && m_wlan.shown().enabled);
    m_network.ApplyTopologyLock(m_data.wlanPresent ? m_wlan.topology() : 0);
}

PageCheck SettingsPages::Collect() {
    const PageCheck network = m_network.Collect(m_data.store);
    if (!network.ok() || !m_data.wlanPresent) {
        return network;
    }
    return m_wlan.Collect(m_data.store);
}

}  // namespace varnow
