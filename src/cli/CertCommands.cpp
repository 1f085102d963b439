#include "CertCommands.h"

#include <CLI/CLI.hpp>
#include <fstream>

#include "CertRun.h"
#include "CliImportAnswers.h"
#include "SettingsRun.h"
#include "certs/BoardCertificate.h"
#include "certs/CertificateReport.h"
#include "certs/SelfSignedCertificate.h"
#include "common/Cleanse.h"

namespace varnow::cli {
namespace {

// The password a file's options give; nullopt with the reason when they give none.
std::optional<std::string> GivenPassword(CommandContext& context,
                                         const std::optional<std::string>& variable,
                                         const std::optional<std::string>& file,
                                         std::optional<OutcomeText>& problem) {
    if (variable) {
        if (const char* value = std::getenv(variable->c_str())) {
            return std::string(value);
        }
        problem = OutcomeText{kCliVariableNotSet, {*variable}};
        return std::nullopt;
    }
    if (file) {
        std::ifstream in(*file);
        std::string line;
        if (!in || !std::getline(in, line)) {
            problem =
                OutcomeText{kMsgFileUnreadable, {*file, in ? "it is empty" : "cannot be opened"}};
            return std::nullopt;
        }
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        return line;
    }
    (void)context;
    return std::nullopt;
}

}  // namespace

void CertMakeCommand::DefineSubject(CLI::App& command) {
    command.add_option("--bits", m_bits, "the RSA key's length (default 1024)")
        ->check(CLI::IsMember({1024, 1536, 2048}));
    command.add_option("--country", m_country, "the country code (default KR)");
    command.add_option("--state", m_state, "the state or province");
    command.add_option("--locality", m_locality, "the locality");
    command.add_option("--org", m_organisation, "the organisation");
    command.add_option("--unit", m_unit, "the organisational unit");
    command.add_option("--cn", m_commonName, "the common name (default: the board's IPv4 address)");
    command.add_option("--email", m_email, "the e-mail address");
}

void CertMakeCommand::Define(CLI::App& command) {
    DefineSubject(command);
    command.add_flag("--dry-run", m_dryRun,
                     "check the subject and the board; make and write nothing");
}

std::optional<CertMakeRequest> CertMakeCommand::Request(CommandContext& context,
                                                        int& status) const {
    CertMakeRequest request{m_bits, DefaultSubject(m_commonName.value_or("")), !m_commonName,
                            m_dryRun};
    CertificateSubject& subject = request.subject;
    const std::pair<const std::optional<std::string>*, std::string*> given[] = {
        {&m_country, &subject.country},   {&m_state, &subject.state},
        {&m_locality, &subject.locality}, {&m_organisation, &subject.organisation},
        {&m_unit, &subject.unit},         {&m_email, &subject.email}};
    for (const auto& [option, field] : given) {
        if (*option) {
            *field = **option;
        }
    }
    if (const auto refused = CheckCertMakeRequest(context, request)) {
        status = Finish(context, kExitUsage, "refused", {}, refused);
        return std::nullopt;
    }
    return request;
}

int CertMakeCommand::Execute(CommandContext& context) {
    int status = kExitSuccess;
    const std::optional<CertMakeRequest> request = Request(context, status);
    if (!request) {
        return status;
    }
    CliOutput::Fields fields;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    return MakeAndStoreCertificate(context, *board, *request, fields);
}

void CertImportCommand::Define(CLI::App& command) {
    command.add_option("file", m_file, "the certificate's file (DER, PEM or PKCS#12)")->required();
    command.add_option("--key", m_keyFile, "the key's file when the certificate's holds none");
    auto* env = command.add_option("--passin-env", m_passinEnv,
                                   "the file's password is in this environment variable");
    auto* file = command.add_option("--passin-file", m_passinFile,
                                    "the file's password is the first line of this file");
    env->excludes(file);
    command.add_flag("--yes", m_yes, "use the certificate without asking");
    command.add_flag("--dry-run", m_dryRun,
                     "read and check the files and the board; write nothing");
}

int CertImportCommand::Execute(CommandContext& context) {
    std::optional<OutcomeText> problem;
    CliImportAnswers::Given given{GivenPassword(context, m_passinEnv, m_passinFile, problem),
                                  m_keyFile, m_yes};
    if (problem) {
        return Finish(context, kExitUsage, "refused", {}, problem);
    }
    // The files are read and the certificate confirmed before the board is touched.
    CliImportAnswers answers(context, std::move(given), m_file);
    const ImportResult imported = ImportCertificateFile(m_file, answers);
    CliOutput::Fields fields{{"file", QString::fromStdString(m_file)}};
    switch (imported.outcome) {
        case ImportOutcome::Ready:
            break;
        case ImportOutcome::Cancelled:
            return Finish(context, answers.missingOption() ? kExitUsage : kExitFailure, "not-used",
                          fields,
                          answers.unanswered().value_or(OutcomeText{kCliCertificateNotUsed}));
        case ImportOutcome::FileUnreadable:
            return Finish(
                context, kExitFileRefused, "unreadable", fields,
                OutcomeText{kMsgFileUnreadable, {imported.file.string(), imported.reason}});
        case ImportOutcome::KeyUnreadable:
        case ImportOutcome::NotACertificate:
        case ImportOutcome::NoKeyInPkcs12:
        case ImportOutcome::NoCertificateInPkcs12:
        case ImportOutcome::KeyNotRsa:
            return Finish(context, kExitFileRefused, "refused", fields,
                          OutcomeText{ImportMessageId(imported.outcome), {imported.reason}});
    }
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    const std::optional<CertificateRecordStore> records =
        ReadBoardCertificates(context, *board, fields, status);
    if (!records) {
        return status;
    }
    if (m_dryRun) {
        const CliOutput::Fields certificate = CertificateFields(imported.identity->certificate);
        fields.insert(fields.end(), certificate.begin(), certificate.end());
        context.output.Note(context.Text(kCliDryRun));
        return Finish(context, kExitSuccess, "dry-run", fields, std::nullopt);
    }
    return StoreAndConfirm(context, *board, *imported.identity, *records, fields);
}

void CertShowCommand::Define(CLI::App& command) {
    auto* pem = command.add_flag("--pem", m_pem, "print the certificate as PEM");
    auto* der = command.add_option("--der", m_derFile, "write the certificate's DER bytes to FILE");
    pem->excludes(der);
}

int CertShowCommand::Execute(CommandContext& context) {
    CliOutput::Fields fields;
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = ConnectedBoard(context, fields, status);
    if (!board) {
        return status;
    }
    const std::optional<CertificateRecordStore> records =
        ReadBoardCertificates(context, *board, fields, status);
    if (!records) {
        return status;
    }
    const BoardCertificateLookup lookup = FindBoardCertificate(*records);
    if (lookup.messageId != 0 || !lookup.certificate) {
        const int text = lookup.messageId != 0 ? lookup.messageId : kCliCertificateUndecodable;
        return Finish(context, kExitNoCertificate, "no-certificate", fields, OutcomeText{text});
    }
    const Certificate& certificate = *lookup.certificate;
    const CliOutput::Fields summary = CertificateFields(certificate);
    fields.insert(fields.end(), summary.begin(), summary.end());
    if (m_derFile) {
        const Bytes der = certificate.Der();
        std::ofstream out(*m_derFile, std::ios::binary);
        out.write(reinterpret_cast<const char*>(der.data()),
                  static_cast<std::streamsize>(der.size()));
        if (!out.flush()) {
            return Finish(context, kExitFailure, "unwritable", fields,
                          OutcomeText{kCliFileUnwritable, {*m_derFile, "cannot be written"}});
        }
        fields.push_back({"file", QString::fromStdString(*m_derFile)});
    } else if (m_pem) {
        // Standard output holds the PEM file alone, for a redirection.
        const std::string pem = certificate.Pem();
        if (!context.output.json()) {
            context.output.Document(pem);
            return kExitSuccess;
        }
        fields.push_back({"pem", QString::fromStdString(pem)});
    } else {
        std::string report = CertificateReport(certificate);
        std::erase(report, '\r');
        if (context.output.json()) {
            fields.push_back({"report", QString::fromStdString(report)});
        } else {
            context.output.Document(report);
        }
    }
    return Finish(context, kExitSuccess, "read", fields, std::nullopt);
}

}  // namespace varnow::cli
