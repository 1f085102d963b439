#pragma once

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>

#include "DialogParts.h"
#include "UiText.h"
#include "certs/TlsObjects.h"

namespace varnow::gui {

// "Certificate Information": the certificate's report and, when a certificate is about to be
// used, the question "Do you want to use the certificate?" (OK answers yes; closing it
// otherwise, no). Enter does not close it.
class CDlgCertInfo : public EnterProofDialog {
public:
    CDlgCertInfo(QWidget* owner, const UiText& ui, const Certificate& certificate, bool ask);

    QPlainTextEdit* reportView() const { return m_report; }
    QLabel* question() const { return m_question; }

private:
    QPlainTextEdit* m_report;
    QLabel* m_question;
};

}  // namespace varnow::gui
