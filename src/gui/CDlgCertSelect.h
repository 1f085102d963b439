#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "UiText.h"
#include "ui/Messenger.h"

namespace varnow::gui {

// "Select a certificate.": a file chosen with Open, its path shown shortened in the middle.
// In key mode it says that the certificate had no key and asks for the key's file.
class CDlgCertSelect : public QDialog {
public:
    enum class Mode { Certificate, Key };

    CDlgCertSelect(QWidget* owner, const UiText& ui, Messenger& messenger, Mode mode);

    const QString& path() const { return m_path; }
    void SetPath(const QString& path);

    void accept() override;

    QPushButton* openButton() const { return m_open; }
    QLabel* pathField() const { return m_field; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void ShowPath();

    const UiText& m_ui;
    Messenger& m_messenger;
    Mode m_mode;
    QString m_path;
    QLabel* m_field;
    QPushButton* m_open;
};

}  // namespace varnow::gui
