#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "UiText.h"

namespace varnow::gui {

// "ID/Password": ID "Admin" (read-only) and a masked password of 8 to 32 characters. At login
// it asks for the board's password; in change mode it asks for a new one twice, and offers
// Delete when the board has one.
class CDlgUserPW : public QDialog {
public:
    enum class Mode { Login, Change };

    CDlgUserPW(QWidget* owner, const UiText& ui, Mode mode = Mode::Login, bool offerDelete = false);

    QString password() const { return m_password->text(); }
    // Delete was pressed: the board's password is to be removed.
    bool deleted() const { return m_deleted; }
    QLineEdit* passwordEdit() { return m_password; }
    QLineEdit* retypeEdit() { return m_retype; }
    QPushButton* deleteButton() { return m_delete; }
    QPushButton* okButton() { return m_ok; }

    void accept() override;

private:
    const UiText& m_ui;
    Mode m_mode;
    bool m_deleted = false;
    QLineEdit* m_password;
    QLineEdit* m_retype;
    QPushButton* m_delete;
    QPushButton* m_ok;
};

}  // namespace varnow::gui
