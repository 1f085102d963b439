#include "CliImportAnswers.h"

#include <QString>

#include "CertRun.h"
#include "TerminalSecret.h"
#include "certs/CertificateReport.h"
#include "common/Cleanse.h"

namespace varnow::cli {

CliImportAnswers::~CliImportAnswers() {
    if (m_given.password) {
        Cleanse(*m_given.password);
    }
}

std::optional<std::string> CliImportAnswers::AskPassword() {
    if (m_given.password) {
        return m_given.password;
    }
    std::optional<std::string> typed =
        ReadSecretFromTerminal(m_context.Text(kTextPasswordLabel) + ": ");
    if (!typed) {
        m_unanswered = OutcomeText{kCliFilePasswordNeeded, {m_file}};
        m_missingOption = true;
    }
    return typed;
}

bool CliImportAnswers::ConfirmCertificate(const Certificate& certificate) {
    std::string report = CertificateReport(certificate);
    std::erase(report, '\r');
    m_context.output.Row("certificate", CertificateFields(certificate), report);
    if (m_given.yes) {
        return true;
    }
    const std::optional<bool> yes =
        AskYesOnTerminal(m_context.Text(kTextUseCertificate) + " [y/N] ");
    if (!yes) {
        m_unanswered = OutcomeText{kCliConfirmationNeeded};
        m_missingOption = true;
        return false;
    }
    if (!*yes) {
        m_unanswered = OutcomeText{kCliCertificateNotUsed};
    }
    return *yes;
}

std::optional<std::filesystem::path> CliImportAnswers::ChooseKeyFile() {
    if (!m_given.keyFile) {
        m_unanswered = OutcomeText{kCliNoKeyInCertificateFile, {m_file}};
        m_missingOption = true;
        return std::nullopt;
    }
    return std::filesystem::path(*m_given.keyFile);
}

}  // namespace varnow::cli
