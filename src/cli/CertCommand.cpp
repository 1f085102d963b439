#include "CertCommand.h"

#include <CLI/CLI.hpp>

#include "CliImportAnswers.h"
#include "ResultFields.h"
#include "Secrets.h"
#include "app/OutcomeNames.h"
#include "certs/BoardCertificate.h"
#include "certs/CertificateImport.h"
#include "certs/CertificateReport.h"
#include "certs/CountryTable.h"
#include "common/Cleanse.h"

namespace varnow::cli {

void CertMakeOptions::Define(CLI::App& command) {
    command.add_option("--bits", m_bits, "the RSA key's length (default 1024)")
        ->check(CLI::IsMember({1024, 1536, 2048}));
    command.add_option("--country", m_country, "the country code (default KR)");
    command.add_option("--state", m_state, "the state or province");
    command.add_option("--locality", m_locality, "the locality");
    command.add_option("--org", m_organisation, "the organization");
    command.add_option("--unit", m_unit, "the organizational unit");
    command.add_option("--cn", m_commonName, "the common name (default: the board's IPv4 address)");
    command.add_option("--email", m_email, "the e-mail address");
}

std::optional<NewIdentity> CertMakeOptions::Request(CommandContext& context,
                                                    std::optional<OutcomeText>& refusal) const {
    NewIdentity identity{m_bits, DefaultSubject(m_commonName.value_or(""))};
    CertificateSubject& subject = identity.subject;
    const std::pair<const std::optional<std::string>*, std::string*> given[] = {
        {&m_country, &subject.country},   {&m_state, &subject.state},
        {&m_locality, &subject.locality}, {&m_organisation, &subject.organisation},
        {&m_unit, &subject.unit},         {&m_email, &subject.email}};
    for (const auto& [option, field] : given) {
        if (*option) {
            *field = **option;
        }
    }
    if (!subject.country.empty() && CountryNameForCode(subject.country) == "Unknown") {
        refusal = OutcomeText{kCliUnknownCountryCode, {subject.country}};
        return std::nullopt;
    }
    if (const auto problem = CheckSubject(subject)) {
        refusal = OutcomeText{kMsgSubjectFieldTooLong,
                              {context.Text(kTextSubjectCountry + static_cast<int>(problem->field)),
                               std::to_string(problem->mostCharacters)}};
        return std::nullopt;
    }
    return identity;
}

void ReportIdentity(const IdentityResult& result, CliOutput::Fields& fields) {
    if (result.certificate) {
        const CliOutput::Fields written = CertificateFields(*result.certificate);
        fields.insert(fields.end(), written.begin(), written.end());
    }
    if (result.outcome == IdentityOutcome::Stored) {
        fields.push_back({"verified", true});
    }
}

void CertMakeCommand::Define(CLI::App& command) {
    m_options.Define(command);
    command.add_flag("--dry-run", m_dryRun,
                     "check the subject and the board; make and write nothing");
}

std::optional<int> CertMakeCommand::Prepare(CommandContext& context) {
    std::optional<OutcomeText> refusal;
    m_identity = m_options.Request(context, refusal);
    if (!m_identity) {
        return Finish(context, kExitUsage, "refused", {}, refusal);
    }
    return std::nullopt;
}

int CertMakeCommand::OnBoard(CommandContext& context, BoardAccess& board,
                             CliOutput::Fields& fields) {
    const auto store =
        board.Run<StoreIdentityOperation>(*m_identity, StoreIdentityOperation::Options{m_dryRun});
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const IdentityResult& result = store->result();
    ReportIdentity(result, fields);
    if (result.outcome == IdentityOutcome::DryRun) {
        context.output.Note(context.Text(kCliDryRun));
    }
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeIdentity(result), store.get());
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

std::optional<int> CertImportCommand::Prepare(CommandContext& context) {
    const CliOutput::Fields fields{{"file", Json(m_file)}};
    SecretRead password = ReadSecret(SecretSource{m_passinEnv, m_passinFile, false}, std::nullopt);
    if (password.problem) {
        return Finish(context, kExitUsage, "refused", {}, password.problem);
    }
    // The files are read and the certificate confirmed before the board is touched.
    CliImportAnswers answers(context, {std::move(password.secret), m_keyFile, m_yes}, m_file);
    ImportResult imported = ImportCertificateFile(m_file, answers);
    if (answers.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    switch (imported.outcome) {
        case ImportOutcome::Ready:
            m_identity = std::move(imported.identity);
            return std::nullopt;
        case ImportOutcome::Cancelled:
            return Finish(context,
                          answers.missingOption() ? kExitUsage
                          : answers.keyMissing()  ? kExitFileRefused
                                                  : kExitFailure,
                          "not-used", fields,
                          answers.unanswered().value_or(OutcomeText{kCliCertificateNotUsed}));
        case ImportOutcome::FileUnreadable:
            return Finish(
                context, kExitFileRefused, "unreadable", fields,
                OutcomeText{kMsgFileUnreadable, {imported.file.string(), imported.reason}});
        default:
            return Finish(context, kExitFileRefused, "refused", fields,
                          OutcomeText{ImportMessageId(imported.outcome), {imported.reason}});
    }
}

int CertImportCommand::OnBoard(CommandContext& context, BoardAccess& board,
                               CliOutput::Fields& fields) {
    fields.push_back({"file", Json(m_file)});
    const auto store =
        board.Run<StoreIdentityOperation>(*m_identity, StoreIdentityOperation::Options{m_dryRun});
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const IdentityResult& result = store->result();
    ReportIdentity(result, fields);
    if (result.outcome == IdentityOutcome::DryRun) {
        context.output.Note(context.Text(kCliDryRun));
    }
    return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                  DescribeIdentity(result), store.get());
}

void CertShowCommand::Define(CLI::App& command) {
    auto* pem = command.add_flag("--pem", m_pem, "print the certificate as PEM");
    auto* der = command.add_option("--der", m_derFile, "write the certificate's DER bytes to FILE");
    pem->excludes(der);
}

int CertShowCommand::OnBoard(CommandContext& context, BoardAccess& board,
                             CliOutput::Fields& fields) {
    const auto read = board.Run<ReadCertificateOperation>();
    if (board.interrupted()) {
        return FinishInterrupted(context, kCliInterrupted, fields);
    }
    const CertificateReadResult& result = read->result();
    // A damaged block is still looked into: its certificate record tells what is wrong.
    if (!read->succeeded() && result.outcome.code != CertificateReadOutcome::Damaged) {
        return Finish(context, StatusOf(result), OutcomeName(result.outcome.code), fields,
                      DescribeCertificateRead(result), read.get());
    }
    const BoardCertificateLookup lookup = FindBoardCertificate(result.records);
    if (lookup.messageId != 0 || !lookup.certificate) {
        const int text = lookup.messageId != 0 ? lookup.messageId : kCliCertificateUndecodable;
        return Finish(context, kExitNoCertificate, "no-certificate", fields, OutcomeText{text});
    }
    const Certificate& certificate = *lookup.certificate;
    const CliOutput::Fields summary = CertificateFields(certificate);
    fields.insert(fields.end(), summary.begin(), summary.end());
    if (m_derFile) {
        const FileWritten written =
            board.platform().Files().WriteNewAt(*m_derFile, certificate.Der());
        if (!written.ok()) {
            return Finish(context, kExitFailure, "unwritable", fields,
                          OutcomeText{kCliFileUnwritable, {*m_derFile, written.problem}});
        }
        fields.push_back({"file", Json(*m_derFile)});
    } else if (m_pem) {
        // Standard output holds the PEM file alone, for a redirection.
        const std::string pem = certificate.Pem();
        if (!context.output.json()) {
            context.output.Document(pem);
            return kExitSuccess;
        }
        fields.push_back({"pem", Json(pem)});
    } else {
        std::string report = CertificateReport(certificate);
        std::erase(report, '\r');
        if (context.output.json()) {
            fields.push_back({"report", Json(report)});
        } else {
            context.output.Document(report);
        }
    }
    return Finish(context, kExitSuccess, "read", fields, std::nullopt);
}

}  // namespace varnow::cli
