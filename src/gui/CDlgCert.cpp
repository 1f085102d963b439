#include "CDlgCert.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "Look.h"

namespace varnow::gui {

CDlgCert::CDlgCert(QWidget* owner, const UiText& ui)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
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
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(ui(114), this);
    auto* cancel = new QPushButton(ui(113), this);
    for (QPushButton* button : {ok, cancel}) {
        button->setAutoDefault(false);
    }
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);
}

CDlgCert::Action CDlgCert::action() const {
    for (std::size_t i = 0; i < m_radios.size(); ++i) {
        if (m_radios[i]->isChecked()) {
            return static_cast<Action>(i + 1);
        }
    }
    return Action::MakeSelfSigned;
}

void CDlgCert::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace varnow::gui
