#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>

#include "DialogParts.h"
#include "UiText.h"

namespace varnow::gui {

// The small "ID/Password" dialog: an 802.1X ID with or without its password, or a password
// alone (for a key file). Enter does not close it.
class CDlgSettingWLANIDPW : public EnterProofDialog {
public:
    enum class Mode { IdOnly, IdAndPassword, PasswordOnly };

    CDlgSettingWLANIDPW(QWidget* owner, const UiText& ui, Mode mode);

    // The texts shown when it opens and the most characters each takes.
    void SetTexts(const QString& id, const QString& password);
    void SetLimits(int idLimit, int passwordLimit);

    QString id() const { return m_id->text(); }
    QString password() const { return m_password->text(); }
    QLineEdit* idEdit() { return m_id; }
    QLineEdit* passwordEdit() { return m_password; }

private:
    QLineEdit* m_id;
    QLineEdit* m_password;
};

}  // namespace varnow::gui
