#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>
#include <array>

#include "UiText.h"
#include "settings/WlanPage.h"
#include "ui/Messenger.h"

namespace varnow::gui {

// The Settings dialog's "Wireless LAN" page: enable, topology, channel, SSID, shared key and
// the 802.1X method, with the "Advanced Settings" and "ID/Password" dialogs it opens. Every
// click and edit goes to the page's rules, and the widgets show what they say.
class CDlgSettingWLAN : public QWidget {
public:
    CDlgSettingWLAN(QWidget* parent, const UiText& ui, Messenger& messenger, WlanPage& page,
                    EnvironmentData& settings);

    void Show();
    void Focus(int controlId);

    void OpenAdvanced();
    void OpenCredentials();

    QComboBox* enableBox() const { return m_enable; }
    QRadioButton* topologyRadio(int topology) const {
        return m_topology[static_cast<std::size_t>(topology)];
    }
    QComboBox* channelBox() const { return m_channel; }
    QLineEdit* ssidEdit() const { return m_ssid; }
    QLineEdit* keyEdit() const { return m_key; }
    QComboBox* dot1xBox() const { return m_dot1x; }
    QPushButton* idPasswordButton() const { return m_idPassword; }
    QPushButton* advancedButton() const { return m_advanced; }

private:
    QWidget* BuildBasic();
    QWidget* BuildSecurity();

    const UiText& m_ui;
    Messenger& m_messenger;
    WlanPage& m_page;
    EnvironmentData& m_data;
    QComboBox* m_enable = nullptr;
    std::array<QRadioButton*, 3> m_topology{};  // Ad-hoc, Infrastructure, Soft AP
    QComboBox* m_channel = nullptr;
    QLineEdit* m_ssid = nullptr;
    std::array<QRadioButton*, 2> m_antenna{};  // shown, never enabled
    QPushButton* m_advanced = nullptr;
    QLineEdit* m_key = nullptr;
    QCheckBox* m_hide = nullptr;
    QComboBox* m_dot1x = nullptr;
    QPushButton* m_idPassword = nullptr;
};

}  // namespace varnow::gui
