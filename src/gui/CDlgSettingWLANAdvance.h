#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QRadioButton>
#include <array>

#include "DialogParts.h"
#include "UiText.h"
#include "settings/WlanAdvanced.h"

namespace varnow::gui {

// "Advanced Settings": the PHY mode and the options it allows, over the dialog's rules. OK
// leaves the choice in the rules for the page to store; Cancel changes nothing.
class CDlgSettingWLANAdvance : public EnterProofDialog {
public:
    CDlgSettingWLANAdvance(QWidget* owner, const UiText& ui, WlanAdvanced& rules);

    void accept() override;

    QRadioButton* phyRadio(int mode) const { return m_phy[static_cast<std::size_t>(mode - 1)]; }
    QCheckBox* shortPreambleBox() const { return m_shortPreamble; }
    QCheckBox* shortSlotBox() const { return m_shortSlot; }
    QCheckBox* ctsProtectionBox() const { return m_ctsProtection; }

private:
    void ReadBoxes();
    void Show();

    WlanAdvanced& m_rules;
    std::array<QRadioButton*, 3> m_phy{};  // 802.11, 802.11b, 802.11b/g
    QCheckBox* m_shortPreamble;
    QCheckBox* m_shortSlot;
    QCheckBox* m_ctsProtection;
    QCheckBox* m_backgroundScan;
};

}  // namespace varnow::gui
