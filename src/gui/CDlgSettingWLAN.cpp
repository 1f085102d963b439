#include "CDlgSettingWLAN.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "CDlgSettingWLANAdvance.h"
#include "CDlgSettingWLANIDPW.h"
#include "common/BoardText.h"
#include "common/Cleanse.h"
#include "settings/Dot1xCredentials.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {

// A text of the block as the page shows it.
QString Shown(const std::string& boardText) {
    return QString::fromStdString(BoardTextToUtf8(
        ByteView(reinterpret_cast<const std::uint8_t*>(boardText.data()), boardText.size())));
}

// What the user typed, as the page stores it. A text left as it was shown keeps its bytes.
std::string Typed(const QString& text, const std::string& before) {
    return text == Shown(before) ? before : text.toStdString();
}

}  // namespace

CDlgSettingWLAN::CDlgSettingWLAN(QWidget* parent, const UiText& ui, Messenger& messenger,
                                 WlanPage& page, EnvironmentData& settings)
    : QWidget(parent), m_ui(ui), m_messenger(messenger), m_page(page), m_data(settings) {
    auto* layout = new QVBoxLayout(this);
    auto* enable = new QHBoxLayout;
    m_enable = new QComboBox(this);
    m_enable->addItems({ui(kTextDisable), ui(kTextEnable)});
    enable->addWidget(new QLabel(ui(kTextWlan), this));
    enable->addWidget(m_enable);
    enable->addStretch();
    layout->addLayout(enable);
    layout->addWidget(BuildBasic());
    layout->addWidget(BuildSecurity());
    layout->addStretch();
    connect(m_enable, &QComboBox::activated, this, [this](int item) {
        m_page.SetEnabled(item == 1, m_data.store);
        Show();
    });
    Show();
}

QWidget* CDlgSettingWLAN::BuildBasic() {
    auto* group = new QGroupBox(m_ui(kTextBasicSettings), this);
    auto* grid = new QGridLayout(group);
    auto* topologies = new QWidget(group);  // its own group of radios
    auto* topologyLayout = new QHBoxLayout(topologies);
    topologyLayout->setContentsMargins(0, 0, 0, 0);
    const int names[] = {kTextAdhoc, kTextInfrastructure, kTextSoftAp};
    for (std::size_t i = 0; i < m_topology.size(); ++i) {
        m_topology[i] = new QRadioButton(m_ui(names[i]), topologies);
        topologyLayout->addWidget(m_topology[i]);
        connect(m_topology[i], &QRadioButton::clicked, this, [this, i] {
            m_page.SelectTopology(static_cast<int>(i));
            Show();
        });
    }
    grid->addWidget(new QLabel(m_ui(kTextWlanTopology), group), 0, 0);
    grid->addWidget(topologies, 0, 1);
    m_channel = new QComboBox(group);
    m_channel->addItem(m_ui(kTextAutomatic));
    for (int channel = 1; channel <= 13; ++channel) {
        m_channel->addItem(QString::number(channel));
    }
    connect(m_channel, &QComboBox::activated, this,
            [this](int item) { m_page.SelectChannel(item); });
    grid->addWidget(new QLabel(m_ui(kTextChannel), group), 1, 0);
    grid->addWidget(m_channel, 1, 1, Qt::AlignLeft);
    m_ssid = new QLineEdit(group);
    m_ssid->setMaxLength(static_cast<int>(WlanPage::kSsidLimit));
    connect(m_ssid, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_page.TypeSsid(Typed(text, m_page.shown().ssid)); });
    grid->addWidget(new QLabel(m_ui(kTextSsid), group), 2, 0);
    grid->addWidget(m_ssid, 2, 1);
    auto* antennas = new QWidget(group);
    auto* antennaLayout = new QHBoxLayout(antennas);
    antennaLayout->setContentsMargins(0, 0, 0, 0);
    m_antenna = {new QRadioButton(m_ui(kTextInternalAntenna), antennas),
                 new QRadioButton(m_ui(kTextExternalAntenna), antennas)};
    for (QRadioButton* antenna : m_antenna) {
        antennaLayout->addWidget(antenna);
    }
    grid->addWidget(antennas, 3, 1);
    m_advanced = new QPushButton(m_ui(kTextAdvancedSettings), group);
    m_advanced->setAutoDefault(false);
    connect(m_advanced, &QPushButton::clicked, this, [this] { OpenAdvanced(); });
    grid->addWidget(m_advanced, 4, 1, Qt::AlignRight);
    return group;
}

QWidget* CDlgSettingWLAN::BuildSecurity() {
    auto* group = new QGroupBox(m_ui(kTextSecuritySettings), this);
    auto* grid = new QGridLayout(group);
    m_key = new QLineEdit(group);
    m_key->setMaxLength(static_cast<int>(WlanPage::kKeyLimit));
    m_key->setStyleSheet("lineedit-password-character: 9679");  // U+25CF
    connect(m_key, &QLineEdit::textEdited, this, [this](const QString& text) {
        m_page.TypeSharedKey(Typed(text, m_page.shown().sharedKey));
    });
    m_hide = new QCheckBox(m_ui(kTextHideCharacters), group);
    connect(m_hide, &QCheckBox::clicked, this, [this](bool checked) {
        m_page.SetHideCharacters(checked);
        m_key->setEchoMode(checked ? QLineEdit::Password : QLineEdit::Normal);
        m_key->setFocus();
    });
    grid->addWidget(new QLabel(m_ui(kTextSharedKey), group), 0, 0);
    grid->addWidget(m_key, 0, 1);
    grid->addWidget(m_hide, 0, 2);
    m_dot1x = new QComboBox(group);
    m_dot1x->addItems({m_ui(kTextDisable), m_ui(kTextEapTls), m_ui(kTextEapTtls), m_ui(kTextPeap)});
    connect(m_dot1x, &QComboBox::activated, this, [this](int item) {
        m_page.SelectDot1x(item);
        Show();
    });
    m_idPassword = new QPushButton(group);
    m_idPassword->setAutoDefault(false);
    connect(m_idPassword, &QPushButton::clicked, this, [this] { OpenCredentials(); });
    grid->addWidget(new QLabel(m_ui(kTextDot1x), group), 1, 0);
    grid->addWidget(m_dot1x, 1, 1, Qt::AlignLeft);
    grid->addWidget(m_idPassword, 1, 2);
    return group;
}

void CDlgSettingWLAN::Show() {
    const WlanPage::Shown& shown = m_page.shown();
    const WlanPage::Enabled& enabled = m_page.enabled();
    m_enable->setCurrentIndex(shown.enabled ? 1 : 0);
    for (std::size_t i = 0; i < m_topology.size(); ++i) {
        m_topology[i]->setChecked(shown.topology == static_cast<int>(i));
        m_topology[i]->setEnabled(enabled.topology);
    }
    m_channel->setCurrentIndex(shown.channel.value_or(-1));
    m_channel->setEnabled(enabled.channel);
    m_ssid->setText(Shown(shown.ssid));
    m_ssid->setEnabled(enabled.ssid);
    for (QRadioButton* antenna : m_antenna) {
        antenna->setEnabled(false);
    }
    m_advanced->setEnabled(enabled.advanced);
    m_key->setText(Shown(shown.sharedKey));
    m_key->setEchoMode(shown.hideCharacters ? QLineEdit::Password : QLineEdit::Normal);
    m_key->setEnabled(enabled.sharedKey);
    m_hide->setChecked(shown.hideCharacters);
    m_hide->setEnabled(enabled.hideCharacters);
    m_dot1x->setCurrentIndex(shown.dot1xItem.value_or(-1));
    m_dot1x->setEnabled(enabled.dot1x);
    m_idPassword->setText(
        m_ui(shown.idPasswordCaption != 0 ? shown.idPasswordCaption : kTextIdPasswordButton));
    m_idPassword->setEnabled(enabled.idPassword);
}

void CDlgSettingWLAN::Focus(int controlId) {
    if (controlId == WlanPage::kSharedKey) {
        m_key->setFocus();
    }
}

void CDlgSettingWLAN::OpenAdvanced() {
    WlanAdvanced rules(m_page.shown().topology.value_or(0), m_data.store.wlanWord);
    CDlgSettingWLANAdvance dialog(this, m_ui, rules);
    if (dialog.exec() == QDialog::Accepted) {
        m_data.store.wlanWord = rules.Apply(m_data.store.wlanWord);
    }
}

void CDlgSettingWLAN::OpenCredentials() {
    std::optional<Dot1xCredentials> credentials =
        Dot1xCredentials::Open(m_data, m_page.shown().dot1xItem.value_or(0));
    if (!credentials) {
        m_messenger.ShowText(m_ui(kTextEnvError).toStdString(), MessageStyle::Warning);
        return;
    }
    using Mode = CDlgSettingWLANIDPW::Mode;
    CDlgSettingWLANIDPW dialog(this, m_ui,
                               credentials->withPassword ? Mode::IdAndPassword : Mode::IdOnly);
    dialog.SetTexts(Shown(credentials->id), Shown(credentials->password));
    dialog.SetLimits(static_cast<int>(credentials->idLimit),
                     static_cast<int>(credentials->passwordLimit));
    if (dialog.exec() == QDialog::Accepted) {
        credentials->id = Typed(dialog.id(), credentials->id);
        credentials->password = Typed(dialog.password(), credentials->password);
        credentials->Accept(m_data);
    }
    dialog.SetTexts({}, {});
    Cleanse(credentials->password);
}

}  // namespace varnow::gui
