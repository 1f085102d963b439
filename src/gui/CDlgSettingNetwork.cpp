#include "CDlgSettingNetwork.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace varnow::gui {
namespace {

constexpr int kFieldIds[] = {NetworkPage::kAddress, NetworkPage::kMask, NetworkPage::kGateway,
                             NetworkPage::kDns};
constexpr int kFieldLabels[] = {kTextLocalIpAddress, kTextSubnetMask, kTextGatewayIpAddress,
                                kTextDnsIpAddress};

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

CDlgSettingNetwork::CDlgSettingNetwork(QWidget* parent, const UiText& ui, NetworkPage& page,
                                       const SettingsStore& store)
    : QWidget(parent), m_page(page), m_store(store) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildIpv4(ui));
    layout->addWidget(BuildIpv6(ui));
    layout->addStretch();
    Show();
}

QWidget* CDlgSettingNetwork::BuildIpv4(const UiText& ui) {
    auto* group = new QGroupBox(ui(kTextIpv4), this);
    auto* grid = new QGridLayout(group);
    m_static = new QRadioButton(ui(kTextUseStaticIp), group);
    m_dhcp = new QRadioButton(ui(kTextObtainIpDhcp), group);
    grid->addWidget(m_static, 0, 0, 1, 2);
    grid->addWidget(m_dhcp, 1, 0, 1, 2);
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const int row = static_cast<int>(i) + (i == 3 ? 3 : 2);
        m_fields[i] = new CIpAddressEdit(group);
        grid->addWidget(new QLabel(ui(kFieldLabels[i]), group), row, 0);
        grid->addWidget(m_fields[i], row, 1);
        connect(m_fields[i], &QLineEdit::textEdited, this,
                [this, i] { m_page.Type(kFieldIds[i], m_fields[i]->address()); });
    }
    m_dnsAuto = new QCheckBox(ui(kTextObtainDnsAutomatically), group);
    grid->addWidget(m_dnsAuto, 5, 0, 1, 2);
    connect(m_static, &QRadioButton::clicked, this, [this] {
        m_page.SelectStatic(m_store);
        Show();
    });
    connect(m_dhcp, &QRadioButton::clicked, this, [this] {
        m_page.SelectDhcp();
        Show();
    });
    connect(m_dnsAuto, &QCheckBox::clicked, this, [this](bool checked) {
        m_page.SetDnsAuto(checked, m_store);
        Show();
    });
    return group;
}

QWidget* CDlgSettingNetwork::BuildIpv6(const UiText& ui) {
    auto* group = new QGroupBox(ui(kTextIpv6), this);
    auto* grid = new QGridLayout(group);
    m_ipv6 = new QComboBox(group);
    m_ipv6->addItems({ui(kTextDisable), ui(kTextEnable)});
    m_eui = new QComboBox(group);
    m_eui->addItems({ui(kTextMacAddress), ui(kTextRandom)});
    auto* modes = new QWidget(group);  // its own group of radios
    auto* modeLayout = new QVBoxLayout(modes);
    modeLayout->setContentsMargins(0, 0, 0, 0);
    m_ipv6Static = new QRadioButton(ui(kTextUseStaticIp), modes);
    m_ipv6Auto = new QRadioButton(ui(kTextObtainIpAutomatically), modes);
    modeLayout->addWidget(m_ipv6Static);
    modeLayout->addWidget(m_ipv6Auto);
    m_ipv6Address = new QLineEdit(group);
    m_ipv6Prefix = new QLineEdit(group);
    m_ipv6Prefix->setMaxLength(3);
    m_ipv6Prefix->setValidator(
        new QRegularExpressionValidator(QRegularExpression(R"(\d{0,3})"), m_ipv6Prefix));
    m_ipv6Prefix->setFixedWidth(m_ipv6Prefix->fontMetrics().horizontalAdvance("0000") + 12);
    m_ipv6Gateway = new QLineEdit(group);
    m_ipv6Dns = new QLineEdit(group);
    auto* top = new QHBoxLayout;
    top->addWidget(m_ipv6);
    top->addWidget(new QLabel(ui(kTextEui), group));
    top->addWidget(m_eui);
    top->addStretch();
    grid->addLayout(top, 0, 0, 1, 2);
    grid->addWidget(modes, 1, 0, 1, 2);
    grid->addWidget(new QLabel(ui(kTextLocalIpAddress), group), 2, 0);
    auto* address = new QHBoxLayout;
    address->addWidget(m_ipv6Address);
    address->addWidget(new QLabel("/", group));
    address->addWidget(m_ipv6Prefix);
    grid->addLayout(address, 2, 1);
    grid->addWidget(new QLabel(ui(kTextGatewayIpAddress), group), 3, 0);
    grid->addWidget(m_ipv6Gateway, 3, 1);
    grid->addWidget(new QLabel(ui(kTextDnsIpAddress), group), 4, 0);
    grid->addWidget(m_ipv6Dns, 4, 1);
    for (QWidget* control :
         std::initializer_list<QWidget*>{m_ipv6, m_eui, m_ipv6Static, m_ipv6Auto, m_ipv6Address,
                                         m_ipv6Prefix, m_ipv6Gateway, m_ipv6Dns}) {
        control->setEnabled(false);  // the IPv6 values are shown, never edited
    }
    return group;
}

void CDlgSettingNetwork::Show() {
    const NetworkPage::Shown& shown = m_page.shown();
    const NetworkPage::Enabled& enabled = m_page.enabled();
    m_static->setChecked(!shown.dhcp);
    m_dhcp->setChecked(shown.dhcp);
    m_static->setEnabled(enabled.radios);
    m_dhcp->setEnabled(enabled.radios);
    const std::optional<Ipv4Address>* values[] = {&shown.address, &shown.mask, &shown.gateway,
                                                  &shown.dns};
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        m_fields[i]->SetAddress(*values[i]);
        m_fields[i]->setEnabled(i == 3 ? enabled.dns : enabled.address);
    }
    m_dnsAuto->setChecked(shown.dnsAuto);
    m_dnsAuto->setEnabled(enabled.dnsAuto);
    m_ipv6->setCurrentIndex(0);
    m_eui->setCurrentIndex(shown.euiRandom ? 1 : 0);
    m_ipv6Static->setChecked(shown.ipv6Static);
    m_ipv6Auto->setChecked(!shown.ipv6Static);
    m_ipv6Address->setText(Text(shown.ipv6Address));
    m_ipv6Prefix->setText(Text(shown.ipv6Prefix));
    m_ipv6Gateway->setText(Text(shown.ipv6Gateway));
    m_ipv6Dns->setText(Text(shown.ipv6Dns));
}

CIpAddressEdit* CDlgSettingNetwork::field(int controlId) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        if (kFieldIds[i] == controlId) {
            return m_fields[i];
        }
    }
    return nullptr;
}

void CDlgSettingNetwork::Focus(int controlId) {
    const std::pair<int, QWidget*> controls[] = {{NetworkPage::kIpv6Address, m_ipv6Address},
                                                 {NetworkPage::kIpv6Prefix, m_ipv6Prefix},
                                                 {NetworkPage::kIpv6Gateway, m_ipv6Gateway},
                                                 {NetworkPage::kIpv6Dns, m_ipv6Dns}};
    for (const auto& [id, control] : controls) {
        if (id == controlId) {
            control->setFocus();
        }
    }
    if (CIpAddressEdit* edit = field(controlId)) {
        edit->setFocus();
    }
}

}  // namespace varnow::gui
