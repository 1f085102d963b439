#pragma once

#include <QDialog>

#include "UiText.h"
#include "firmware/FirmwareUpgrade.h"

namespace varnow::gui {

// "Upgrade a qvk file": the status of one firmware upgrade in a bar. It drives nothing itself
// (the core's FirmwareUpgrade does); it can be closed only with its close box, and only while
// enabled.
class CDlgFWUpgrade : public QDialog {
public:
    CDlgFWUpgrade(QWidget* parent, FirmwareUpgrade& upgrade, const UiText& ui);
    // Repaints and follows the upgrade's enabled state.
    void Refresh();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override {}  // Esc never closes it

private:
    FirmwareUpgrade& m_upgrade;
    bool m_started = false;
};

}  // namespace varnow::gui
