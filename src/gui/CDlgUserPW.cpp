#include "CDlgUserPW.h"

#include <QFormLayout>
#include <QHBoxLayout>

#include "CDlgMessage.h"
#include "Look.h"
#include "settings/PasswordChange.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {

QLineEdit* PasswordEdit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setEchoMode(QLineEdit::Password);
    edit->setMaxLength(static_cast<int>(PasswordChange::kLongest));
    edit->setStyleSheet("lineedit-password-character: 9679");  // U+25CF
    return edit;
}

}  // namespace

CDlgUserPW::CDlgUserPW(QWidget* owner, const UiText& ui, Mode mode, bool offerDelete)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      m_ui(ui),
      m_mode(mode) {
    setWindowTitle(ui(kTitleAdminPassword));
    setFont(DialogFont());
    auto* form = new QFormLayout(this);
    auto* id = new QLineEdit("Admin", this);
    id->setReadOnly(true);
    id->setMaxLength(static_cast<int>(PasswordChange::kLongest));
    m_password = PasswordEdit(this);
    m_retype = PasswordEdit(this);
    form->addRow(ui(142), id);
    form->addRow(ui(kTextPassword), m_password);
    if (mode == Mode::Change) {
        form->addRow(ui(kTextRetypePassword), m_retype);
    } else {
        m_retype->hide();
    }
    auto* buttons = new QHBoxLayout;
    m_delete = new QPushButton(ui(kTextDelete), this);
    m_ok = new QPushButton(ui(mode == Mode::Change ? kTextChange : 114), this);
    auto* cancel = new QPushButton(ui(113), this);
    m_ok->setDefault(true);
    m_delete->setAutoDefault(false);
    m_delete->setVisible(mode == Mode::Change && offerDelete);
    connect(m_ok, &QPushButton::clicked, this, &CDlgUserPW::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_delete, &QPushButton::clicked, this, [this] {
        m_deleted = true;
        m_password->clear();
        m_retype->clear();
        QDialog::accept();
    });
    buttons->addWidget(m_delete);
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    setMinimumWidth(DialogUnitsFor(8).X(197));
    m_password->setFocus();
}

void CDlgUserPW::accept() {
    const std::string password = m_password->text().toStdString();
    const std::string retyped = m_mode == Mode::Change ? m_retype->text().toStdString() : password;
    const int problem = PasswordChange::Check(password, retyped);
    if (problem != 0) {
        CDlgMessage(this, m_ui(problem), 48, m_ui).exec();
        if (problem == kMsgPasswordTooShort) {
            m_password->setFocus();
        }
        return;
    }
    QDialog::accept();
}

}  // namespace varnow::gui
