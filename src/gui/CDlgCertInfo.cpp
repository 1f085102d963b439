#include "CDlgCertInfo.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

#include "Look.h"
#include "certs/CertificateReport.h"

namespace varnow::gui {

CDlgCertInfo::CDlgCertInfo(QWidget* owner, const UiText& ui, const Certificate& certificate,
                           bool ask)
    : EnterProofDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(ui(kTextCertificateInformation));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    m_report = new QPlainTextEdit(this);
    m_report->setReadOnly(true);
    m_report->setFont(DialogFont());
    m_report->setLineWrapMode(QPlainTextEdit::NoWrap);  // both scroll bars
    m_report->setPlainText(QString::fromStdString(CertificateReport(certificate)).remove('\r'));
    layout->addWidget(m_report);
    m_question = new QLabel(ui(kTextUseCertificateQuestion), this);
    m_question->setVisible(ask);
    auto* row = new QHBoxLayout;
    row->addWidget(m_question, 1);
    // A question is answered Yes or No; a report alone is closed with OK.
    auto* accept = new QPushButton(ui(ask ? 116 : 114), this);
    accept->setAutoDefault(false);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    row->addWidget(accept);
    if (ask) {
        auto* no = new QPushButton(ui(115), this);
        no->setAutoDefault(false);
        connect(no, &QPushButton::clicked, this, &QDialog::reject);
        row->addWidget(no);
    }
    layout->addLayout(row);
    const DialogUnits units = DialogUnitsFor(8);
    resize(units.X(300), units.Y(220));
}

}  // namespace varnow::gui
