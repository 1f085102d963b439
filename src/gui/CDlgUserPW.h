#pragma once

#include <QDialog>
#include <QLineEdit>

#include "UiText.h"

namespace varnow::gui {

// "ID/Password" in login mode: ID "Admin" (read-only) and a masked password of 8 to 32
// characters.
class CDlgUserPW : public QDialog {
public:
    CDlgUserPW(QWidget* owner, const UiText& ui);
    QString password() const { return m_password->text(); }
    QLineEdit* passwordEdit() { return m_password; }

    void accept() override;

private:
    const UiText& m_ui;
    QLineEdit* m_password;
};

}  // namespace varnow::gui
