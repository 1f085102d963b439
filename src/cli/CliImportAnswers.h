#pragma once

#include <optional>
#include <string>

#include "Subcommand.h"
#include "app/OutcomeText.h"
#include "certs/CertificateImport.h"

namespace varnow::cli {

// An import's questions answered from the command line: the file's password from
// --passin-env or --passin-file (else asked on the terminal), the certificate confirmed by
// --yes (else asked on the terminal after its report), the key's file from --key.
class CliImportAnswers : public ImportQuestions {
public:
    struct Given {
        std::optional<std::string> password;  // from --passin-env or --passin-file
        std::optional<std::string> keyFile;
        bool yes = false;
    };
    CliImportAnswers(CommandContext& context, Given given, std::string file)
        : m_context(context), m_given(std::move(given)), m_file(std::move(file)) {}
    ~CliImportAnswers() override;

    std::optional<std::string> AskPassword() override;
    bool ConfirmCertificate(const Certificate& certificate) override;
    std::optional<std::filesystem::path> ChooseKeyFile() override;

    // Why a question went unanswered, for the error line: the text, and whether the command
    // line was short of an option (rather than the user saying no).
    std::optional<OutcomeText> unanswered() const { return m_unanswered; }
    bool missingOption() const { return m_missingOption; }
    // The certificate's file holds no key, and no key file was given.
    bool keyMissing() const { return m_keyMissing; }
    // Ctrl-C at one of the questions.
    bool interrupted() const { return m_interrupted; }

private:
    CommandContext& m_context;
    Given m_given;
    std::string m_file;
    std::optional<OutcomeText> m_unanswered;
    bool m_missingOption = false;
    bool m_interrupted = false;
    bool m_keyMissing = false;
};

}  // namespace varnow::cli
