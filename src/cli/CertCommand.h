#pragma once

#include <optional>
#include <string>
#include <vector>

#include "BoardCommand.h"
#include "ops/CertificateOperations.h"

namespace varnow::cli {

// The options of a new key and self-signed certificate: cert make's, and the station's
// --cert-make.
class CertMakeOptions {
public:
    void Define(CLI::App& command);
    // What the options ask for, checked (a country code the table has, fields that fit);
    // nullopt with the refusal.
    std::optional<NewIdentity> Request(CommandContext& context,
                                       std::optional<OutcomeText>& refusal) const;

private:
    int m_bits = 1024;
    std::optional<std::string> m_country, m_state, m_locality, m_organisation, m_unit, m_commonName,
        m_email;
};

// Tells what storing an identity did: the certificate written and whether it was verified.
void ReportIdentity(const IdentityResult& result, CliOutput::Fields& fields);

// Makes an RSA key and a self-signed certificate, and gives them to the board.
class CertMakeCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"cert", "make"}; }
    std::string Description() const override {
        return "make a new RSA key and a self-signed certificate for the board (the common name "
               "is the board's IPv4 address unless --cn gives one)";
    }
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    CertMakeOptions m_options;
    std::optional<NewIdentity> m_identity;
    bool m_dryRun = false;
};

// Gives the board a certificate and its key from files: DER, PEM or PKCS#12.
class CertImportCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"cert", "import"}; }
    std::string Description() const override {
        return "give the board a certificate and its RSA key from a DER, PEM or PKCS#12 file "
               "(the certificate's report is shown and must be confirmed)";
    }
    void Define(CLI::App& command) override;

private:
    std::optional<int> Prepare(CommandContext& context) override;
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    std::string m_file;
    std::optional<std::string> m_keyFile;
    std::optional<std::string> m_passinEnv;
    std::optional<std::string> m_passinFile;
    bool m_yes = false;
    bool m_dryRun = false;
    std::optional<TlsIdentity> m_identity;
};

// Shows the certificate the board holds.
class CertShowCommand : public BoardCommand {
public:
    std::vector<std::string> Path() const override { return {"cert", "show"}; }
    std::string Description() const override {
        return "show the certificate the board holds (its report, or --pem, or --der FILE)";
    }
    void Define(CLI::App& command) override;

private:
    int OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) override;

    bool m_pem = false;
    std::optional<std::string> m_derFile;
};

}  // namespace varnow::cli
