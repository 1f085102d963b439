#include "CliImportAnswers.h"

#include <QString>

#include "ResultFields.h"
#include "TerminalSecret.h"
#include "certs/CertificateReport.h"
#include "common/Cleanse.h"
#include "ui/MessageIds.h"

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
    platform::TerminalAnswer typed =
        platform::ReadSecretFromTerminal(m_context.Text(kTextPasswordLabel) + ": ");
    if (typed.status == platform::TerminalAnswer::Status::Interrupted) {
        m_interrupted = true;
        return std::nullopt;
    }
    if (typed.status != platform::TerminalAnswer::Status::Answered) {
        m_unanswered = OutcomeText{kCliFilePasswordNeeded, {m_file}};
        m_missingOption = true;
        return std::nullopt;
    }
    return std::move(typed.text);
}

bool CliImportAnswers::ConfirmCertificate(const Certificate& certificate) {
    std::string report = CertificateReport(certificate);
    std::erase(report, '\r');
    m_context.output.Row("certificate", CertificateFields(certificate), report);
    if (m_given.yes) {
        return true;
    }
    const platform::TerminalAnswer answer =
        platform::AskOnTerminal(m_context.Text(kTextUseCertificate) + " [y/N] ");
    if (answer.status == platform::TerminalAnswer::Status::Interrupted) {
        m_interrupted = true;
        return false;
    }
    if (answer.status != platform::TerminalAnswer::Status::Answered) {
        m_unanswered = OutcomeText{kCliConfirmationNeeded};
        m_missingOption = true;
        return false;
    }
    const bool yes = answer.text == "y" || answer.text == "yes";
    if (!yes) {
        m_unanswered = OutcomeText{kCliCertificateNotUsed};
    }
    return yes;
}

std::optional<std::filesystem::path> CliImportAnswers::ChooseKeyFile() {
    if (!m_given.keyFile) {
        // No option missing: the file is not what the command needs.
        m_unanswered = OutcomeText{kCliNoKeyInCertificateFile, {m_file}};
        m_keyMissing = true;
        return std::nullopt;
    }
    return std::filesystem::path(*m_given.keyFile);
}

}  // namespace varnow::cli
