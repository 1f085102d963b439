#include "CDlgSettingWLANIDPW.h"

#include <QFormLayout>
#include <QHBoxLayout>

#include "DialogParts.h"
#include "Look.h"
#include "ui/MessageIds.h"

namespace varnow::gui {

CDlgSettingWLANIDPW::CDlgSettingWLANIDPW(QWidget* owner, const UiText& ui, Mode mode)
    : EnterProofDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint) {
    // The title says whose ID and password are asked for: the same look serves 802.1X
    // sign-in and a certificate file's password.
    setWindowTitle(ui(mode == Mode::PasswordOnly ? kTitleFilePassword : kTitleWirelessSignIn));
    setFont(DialogFont());
    auto* form = new QFormLayout(this);
    m_id = new QLineEdit(this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setStyleSheet("lineedit-password-character: 9679");  // U+25CF
    if (mode != Mode::PasswordOnly) {
        form->addRow(ui(142), m_id);
    } else {
        m_id->hide();
    }
    if (mode != Mode::IdOnly) {
        form->addRow(ui(kTextPassword), m_password);
    } else {
        m_password->hide();
    }
    form->addRow(OkCancelRow(this, ui));
    setMinimumWidth(DialogUnitsFor(8).X(183));
}

void CDlgSettingWLANIDPW::SetTexts(const QString& id, const QString& password) {
    m_id->setText(id);
    m_password->setText(password);
}

void CDlgSettingWLANIDPW::SetLimits(int idLimit, int passwordLimit) {
    m_id->setMaxLength(idLimit);
    m_password->setMaxLength(passwordLimit);
}

}  // namespace varnow::gui
