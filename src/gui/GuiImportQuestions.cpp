#include "GuiImportQuestions.h"

#include "CDlgCertInfo.h"
#include "CDlgCertSelect.h"
#include "CDlgSettingWLANIDPW.h"

namespace varnow::gui {

std::optional<std::string> GuiImportQuestions::AskPassword() {
    CDlgSettingWLANIDPW dialog(m_owner, m_ui, CDlgSettingWLANIDPW::Mode::PasswordOnly);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    std::string password = dialog.password().toStdString();
    dialog.SetTexts({}, {});
    return password;
}

bool GuiImportQuestions::ConfirmCertificate(const Certificate& certificate) {
    return CDlgCertInfo(m_owner, m_ui, certificate, true).exec() == QDialog::Accepted;
}

std::optional<std::filesystem::path> GuiImportQuestions::ChooseKeyFile() {
    CDlgCertSelect dialog(m_owner, m_ui, m_messenger, CDlgCertSelect::Mode::Key);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return std::filesystem::path(dialog.path().toStdU16String());
}

}  // namespace varnow::gui
