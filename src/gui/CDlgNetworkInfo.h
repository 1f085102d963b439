#pragma once

#include <QPlainTextEdit>
#include <QTabBar>

#include "DialogParts.h"
#include "UiText.h"
#include "info/NetworkInfo.h"

namespace varnow::gui {

// "Network information": the network, wireless and table reports on three tabs over one
// read-only page, and Close. Enter never closes it; neither does Esc while the page has the
// focus.
class CDlgNetworkInfo : public EnterProofDialog {
public:
    CDlgNetworkInfo(QWidget* owner, const UiText& ui, const NetworkReports& reports);

    QTabBar* tabs() const { return m_tabs; }
    QPlainTextEdit* page() const { return m_page; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowTab(int index);

    NetworkReports m_reports;
    QTabBar* m_tabs;
    QPlainTextEdit* m_page;
};

}  // namespace varnow::gui
