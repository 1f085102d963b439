#include "CDlgCert.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "DialogParts.h"
#include "Look.h"

namespace varnow::gui {

CDlgCert::CDlgCert(QWidget* owner, const UiText& ui)
    : EnterProofDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    setWindowTitle(ui(kTextCertificateAndHostKey));
    setFont(DialogFont());
    auto* layout = new QVBoxLayout(this);
    const int texts[] = {kTextWriteSelfSigned, kTextWriteSignedCertificate,
                         kTextReadProductCertificate};
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        m_radios[i] = new QRadioButton(ui(texts[i]), this);
        layout->addWidget(m_radios[i]);
    }
    m_radios[0]->setChecked(true);
    layout->addLayout(OkCancelRow(this, ui));
}

CDlgCert::Action CDlgCert::action() const {
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        if (m_radios[i]->isChecked()) {
            return static_cast<Action>(i + 1);
        }
    }
    return Action::MakeSelfSigned;
}

}  // namespace varnow::gui
