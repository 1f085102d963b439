#pragma once

#include "settings/NetworkPage.h"
#include "settings/SettingsStore.h"
#include "settings/WlanPage.h"

namespace varnow {

// The Settings dialog's pages over one copy of the board's settings: the network page, the
// wireless LAN page when the block has its records, and what ties the two together. The
// desktop tool's tabs and the command line's `settings set` both work through this.
class SettingsPages {
public:
    explicit SettingsPages(EnvironmentData data);

    bool hasWlan() const { return m_data.wlanPresent; }

    // The network page as it is shown again: its IPv4 group is locked while the wireless LAN
    // page has "Enable" and "Soft AP" selected.
    void LockNetworkPage();

    // Write's checks: the network page, then the wireless LAN page when there is one; each
    // stores its values into the settings as it goes.
    PageCheck Collect();

    // A write went through: the block the board now holds is what a later write patches and
    // what its backup saves.
    void Written(const Bytes& sent) { m_data.blockCopy = sent; }

    NetworkPage& network() { return m_network; }
    WlanPage& wlan() { return m_wlan; }
    EnvironmentData& data() { return m_data; }
    SettingsStore& store() { return m_data.store; }
    const EnvironmentData& data() const { return m_data; }

private:
    EnvironmentData m_data;
    NetworkPage m_network;
    WlanPage m_wlan;
};

}  // namespace varnow
