#pragma once

#include <QWidget>

#include "UiText.h"
#include "certs/CertificateImport.h"
#include "ui/Messenger.h"

namespace varnow::gui {

// An import's questions as the desktop tool asks them: the "ID/Password" dialog for a file's
// password, "Certificate Information" with its question, and "Select a certificate." in key
// mode for the key's file.
class GuiImportQuestions : public ImportQuestions {
public:
    GuiImportQuestions(QWidget* owner, const UiText& ui, Messenger& messenger)
        : m_owner(owner), m_ui(ui), m_messenger(messenger) {}

    std::optional<std::string> AskPassword() override;
    bool ConfirmCertificate(const Certificate& certificate) override;
    std::optional<std::filesystem::path> ChooseKeyFile() override;

private:
    QWidget* m_owner;
    const UiText& m_ui;
    Messenger& m_messenger;
};

}  // namespace varnow::gui
