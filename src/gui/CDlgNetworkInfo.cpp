#include "CDlgNetworkInfo.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "Look.h"
#include "ui/MessageIds.h"

namespace varnow::gui {

CDlgNetworkInfo::CDlgNetworkInfo(QWidget* owner, const UiText& ui, const NetworkReports& reports)
    : EnterProofDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_reports(reports) {
    setWindowTitle(ui(kTextNetworkInfo));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    m_tabs = new QTabBar(this);
    m_tabs->addTab(ui(kTextNetworkTab));
    m_tabs->addTab(ui(kTextWirelessTab));
    m_tabs->addTab(ui(kTextTablesTab));
    m_page = new QPlainTextEdit(this);
    m_page->setReadOnly(true);
    m_page->setFont(DialogFont());
    m_page->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->setSpacing(0);
    layout->addWidget(m_tabs);
    layout->addWidget(m_page);
    auto* row = new QHBoxLayout;
    auto* close = new QPushButton(ui(kTextClose), this);
    close->setAutoDefault(false);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    row->addStretch();
    row->addWidget(close);
    layout->addSpacing(8);
    layout->addLayout(row);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) { ShowTab(index); });
    ShowTab(0);
    const DialogUnits units = DialogUnitsFor(8);
    resize(units.X(300), units.Y(230));
}

void CDlgNetworkInfo::ShowTab(int index) {
    const std::string* texts[] = {&m_reports.network, &m_reports.wireless, &m_reports.tables};
    if (index >= 0 && index < 3) {
        m_page->setPlainText(QString::fromStdString(*texts[index]).remove('\r'));
    }
}

void CDlgNetworkInfo::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && m_page->hasFocus()) {
        return;
    }
    EnterProofDialog::keyPressEvent(event);
}

}  // namespace varnow::gui
