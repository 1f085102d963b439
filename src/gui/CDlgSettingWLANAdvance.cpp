#include "CDlgSettingWLANAdvance.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "DialogParts.h"
#include "Look.h"

namespace varnow::gui {

CDlgSettingWLANAdvance::CDlgSettingWLANAdvance(QWidget* owner, const UiText& ui,
                                               WlanAdvanced& rules)
    : EnterProofDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_rules(rules) {
    setWindowTitle(ui(kTextAdvancedSettings));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    auto* phy = new QGroupBox(ui(kTextPhyMode), this);
    auto* phyLayout = new QVBoxLayout(phy);
    const int phyTexts[] = {kTextPhy80211, kTextPhy80211b, kTextPhy80211bg};
    for (std::size_t i = 0; i < m_phy.size(); ++i) {
        m_phy[i] = new QRadioButton(ui(phyTexts[i]), phy);
        phyLayout->addWidget(m_phy[i]);
        connect(m_phy[i], &QRadioButton::clicked, this, [this, i] {
            ReadBoxes();
            m_rules.SelectPhy(static_cast<int>(i) + 1);
            Show();
        });
    }
    layout->addWidget(phy);
    m_shortPreamble = new QCheckBox(ui(kTextShortPreamble), this);
    m_shortSlot = new QCheckBox(ui(kTextShortSlot), this);
    m_ctsProtection = new QCheckBox(ui(kTextCtsProtection), this);
    m_backgroundScan = new QCheckBox(ui(kTextBackgroundScan), this);
    for (QCheckBox* box : {m_shortPreamble, m_shortSlot, m_ctsProtection, m_backgroundScan}) {
        layout->addWidget(box);
    }
    layout->addLayout(OkCancelRow(this, ui));
    setMinimumWidth(DialogUnitsFor(8).X(170));
    Show();
}

void CDlgSettingWLANAdvance::ReadBoxes() {
    m_rules.SetShortPreamble(m_shortPreamble->isChecked());
    m_rules.SetShortSlot(m_shortSlot->isChecked());
    m_rules.SetCtsProtection(m_ctsProtection->isChecked());
}

void CDlgSettingWLANAdvance::Show() {
    for (std::size_t i = 0; i < m_phy.size(); ++i) {
        m_phy[i]->setChecked(m_rules.phy() == static_cast<int>(i) + 1);
    }
    m_shortPreamble->setChecked(m_rules.shortPreamble());
    m_shortSlot->setChecked(m_rules.shortSlot());
    m_ctsProtection->setChecked(m_rules.ctsProtection());
    m_backgroundScan->setChecked(m_rules.backgroundScan());
    const WlanAdvanced::Enabled& enabled = m_rules.enabled();
    m_shortPreamble->setEnabled(enabled.shortPreamble);
    m_shortSlot->setEnabled(enabled.shortSlot);
    m_ctsProtection->setEnabled(enabled.ctsProtection);
    m_backgroundScan->setEnabled(false);
}

void CDlgSettingWLANAdvance::accept() {
    ReadBoxes();
    QDialog::accept();
}

}  // namespace varnow::gui
