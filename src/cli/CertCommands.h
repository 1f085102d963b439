#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CertRun.h"
#include "Command.h"

namespace varnow::cli {

// Makes an RSA key and a self-signed certificate, and gives them to the board.
class CertMakeCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"cert", "make"}; }
    std::string Description() const override {
        return "make a new RSA key and a self-signed certificate for the board (the common name "
               "is the board's IPv4 address unless --cn gives one)";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;
    // The key's and the subject's options (everything but --dry-run): the station takes them too.
    void DefineSubject(CLI::App& command);
    // What the options ask for, checked; nullopt when refused (reported, `status`). The
    // station takes its --cert-make options the same way.
    std::optional<CertMakeRequest> Request(CommandContext& context, int& status) const;

private:
    int m_bits = 1024;
    std::optional<std::string> m_country, m_state, m_locality, m_organisation, m_unit, m_commonName,
        m_email;
    bool m_dryRun = false;
};

// Gives the board a certificate and its key from files: DER, PEM or PKCS#12.
class CertImportCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"cert", "import"}; }
    std::string Description() const override {
        return "give the board a certificate and its RSA key from a DER, PEM or PKCS#12 file "
               "(the certificate's report is shown and must be confirmed)";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    std::string m_file;
    std::optional<std::string> m_keyFile;
    std::optional<std::string> m_passinEnv;
    std::optional<std::string> m_passinFile;
    bool m_yes = false;
    bool m_dryRun = false;
};

// Shows the certificate the board holds.
class CertShowCommand : public Subcommand {
public:
    std::vector<std::string> Path() const override { return {"cert", "show"}; }
    std::string Description() const override {
        return "show the certificate the board holds (its report, or --pem, or --der FILE)";
    }
    void Define(CLI::App& command) override;
    int Execute(CommandContext& context) override;

private:
    bool m_pem = false;
    std::optional<std::string> m_derFile;
};

}  // namespace varnow::cli
