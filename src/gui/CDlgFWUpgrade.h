#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>

#include "UiText.h"
#include "ui/Host.h"

namespace varnow::gui {

// "Upgrade a qvk file": the status of one firmware upgrade in a bar. It drives nothing itself
// (the core's firmware upgrade does); its close box asks the core, which closes it only while
// it is enabled. Enter and Escape never close it. While it stands by, dots grow after its text
// every 100 ms, also once the upgrade has ended without progress.
class CDlgFWUpgrade : public QDialog {
public:
    CDlgFWUpgrade(QWidget* parent, const UiText& ui, std::function<void()> closeRequested);
    // Repaints with the upgrade's state and follows its enabled state.
    void Show(const FirmwareWindowState& state);
    const FirmwareWindowState& state() const { return m_state; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void reject() override {}  // Esc never closes it

private:
    std::function<void()> m_closeRequested;
    FirmwareWindowState m_state;
    QTimer m_dots;
    int m_ticks = 0;
};

}  // namespace varnow::gui
