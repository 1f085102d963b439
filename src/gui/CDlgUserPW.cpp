#include "CDlgUserPW.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>

#include "CDlgMessage.h"
#include "Look.h"
#include "ui/MessageIds.h"

namespace varnow::gui {
namespace {
constexpr int kMaxPassword = 32;
}  // namespace

CDlgUserPW::CDlgUserPW(QWidget* owner, const UiText& ui)
    : QDialog(owner, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), m_ui(ui) {
    setWindowTitle(ui(kTextIdPassword));
    setFont(DialogFont());
    auto* form = new QFormLayout(this);
    auto* id = new QLineEdit("Admin", this);
    id->setReadOnly(true);
    id->setMaxLength(kMaxPassword);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    m_password->setMaxLength(kMaxPassword);
    m_password->setStyleSheet("lineedit-password-character: 9679");  // U+25CF
    form->addRow(ui(142), id);
    form->addRow(ui(kTextPassword), m_password);
    auto* buttons = new QHBoxLayout;
    auto* ok = new QPushButton(ui(114), this);
    auto* cancel = new QPushButton(ui(113), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CDlgUserPW::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    m_password->setFocus();
}

void CDlgUserPW::accept() {
    if (m_password->text().size() < 8) {
        CDlgMessage(this, m_ui(kMsgPasswordTooShort), 48, m_ui).exec();
        m_password->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace varnow::gui
