#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "CIpAddressEdit.h"
#include "UiText.h"
#include "settings/NetworkPage.h"

namespace varnow::gui {

// The Settings dialog's "Network" page: the IPv4 group, editable, and the IPv6 group, shown
// only. Every click and edit goes to the page's rules, and the widgets show what they say.
class CDlgSettingNetwork : public QWidget {
public:
    CDlgSettingNetwork(QWidget* parent, const UiText& ui, NetworkPage& page,
                       const SettingsStore& store);

    // The widgets as the page's rules have them now.
    void Show();
    // A check failed on this control: the focus goes to it.
    void Focus(int controlId);

    CIpAddressEdit* field(int controlId) const;
    QRadioButton* staticRadio() const { return m_static; }
    QRadioButton* dhcpRadio() const { return m_dhcp; }
    QCheckBox* dnsAutoBox() const { return m_dnsAuto; }

private:
    QWidget* BuildIpv4(const UiText& ui);
    QWidget* BuildIpv6(const UiText& ui);

    NetworkPage& m_page;
    const SettingsStore& m_store;
    std::array<CIpAddressEdit*, 4> m_fields{};  // address, mask, gateway, DNS server
    QRadioButton* m_static = nullptr;
    QRadioButton* m_dhcp = nullptr;
    QCheckBox* m_dnsAuto = nullptr;
    QComboBox* m_ipv6 = nullptr;
    QComboBox* m_eui = nullptr;
    QRadioButton* m_ipv6Static = nullptr;
    QRadioButton* m_ipv6Auto = nullptr;
    QLineEdit* m_ipv6Address = nullptr;
    QLineEdit* m_ipv6Prefix = nullptr;
    QLineEdit* m_ipv6Gateway = nullptr;
    QLineEdit* m_ipv6Dns = nullptr;
};

}  // namespace varnow::gui
