#include "CertRun.h"

#include <ctime>

#include "SettingsRun.h"
#include "certs/CertificateReport.h"
#include "certs/CertificateStore.h"
#include "certs/CountryTable.h"

namespace varnow::cli {
namespace {

QJsonValue Text(const std::string& text) {
    return QString::fromStdString(text);
}

std::string DottedAddress(const std::array<std::uint8_t, 4>& address) {
    return std::to_string(address[0]) + "." + std::to_string(address[1]) + "." +
           std::to_string(address[2]) + "." + std::to_string(address[3]);
}

}  // namespace

CliOutput::Fields CertificateFields(const Certificate& certificate) {
    const CertificateSummary summary = SummariseCertificate(certificate);
    return {
        {"subject", Text(summary.subject)},      {"issuer", Text(summary.issuer)},
        {"not_before", Text(summary.notBefore)}, {"not_after", Text(summary.notAfter)},
        {"serial", Text(summary.serial)},        {"key_algorithm", Text(summary.keyAlgorithm)},
        {"key_bits", summary.keyBits},           {"sha256", Text(summary.sha256)},
    };
}

std::optional<CertificateRecordStore> ReadBoardCertificates(CommandContext& context,
                                                            BoardAccess& board,
                                                            const CliOutput::Fields& fields,
                                                            int& status) {
    std::optional<CertificateRecordStore> records;
    std::optional<Outcome<CertificateReadOutcome>> outcome;
    const auto read = board.Await<bool>([&](auto done) {
        board.session().ReadCertificates(
            [&, done](const auto& ended, CertificateRecordStore store) {
                outcome = ended;
                records = std::move(store);
                done(true);
            });
    });
    if (!read) {
        status = FinishInterrupted(context, board, kCliInterrupted, fields);
        return std::nullopt;
    }
    if (outcome->code == CertificateReadOutcome::NoBoard ||
        outcome->code == CertificateReadOutcome::PortLost) {
        status =
            Finish(context, kExitBoardLost, "board-lost", fields, OutcomeText{kErrPortVanished});
        return std::nullopt;
    }
    return records;  // no block, "501 " or silence: the board holds none the tool can use
}

int StoreAndConfirm(CommandContext& context, BoardAccess& board, const TlsIdentity& identity,
                    const CertificateRecordStore& current, CliOutput::Fields& fields) {
    const auto stored = board.Await<CertificateStoreResult>(
        [&](auto done) { board.session().StoreCertificate(identity, current, std::move(done)); });
    if (!stored) {
        return FinishInterrupted(context, board, kCliInterrupted, fields);
    }
    const CliOutput::Fields written = CertificateFields(identity.certificate);
    fields.insert(fields.end(), written.begin(), written.end());
    const auto& outcome = stored->outcome;
    switch (outcome.code) {
        case CertificateStoreOutcome::Stored:
            fields.push_back({"verified", true});
            return Finish(context, kExitSuccess, "stored", fields, std::nullopt);
        case CertificateStoreOutcome::NotKept:
            return Finish(context, kExitReadBackDiffers, "read-back-differs", fields,
                          OutcomeText{kMsgCertificateNotKept});
        case CertificateStoreOutcome::KeyNotRsa:
            return Finish(context, kExitFileRefused, "key-not-rsa", fields,
                          OutcomeText{kMsgKeyNotRsa, {identity.key.Algorithm()}});
        case CertificateStoreOutcome::NotPacked:
            return Finish(context, kExitFileRefused, "too-large", fields,
                          OutcomeText{kCliCertificateNotUsed});  // the warning says why
        case CertificateStoreOutcome::Refused:
        case CertificateStoreOutcome::Stalled:
            return Finish(context, kExitCertificateRefused, "refused", fields,
                          OutcomeText{kCliCertificateNotTaken});
        case CertificateStoreOutcome::TimedOut:
            return Finish(context, kExitTimedOut, "timed-out", fields,
                          OutcomeText{kErrNoAnswer, {outcome.command}});
        case CertificateStoreOutcome::NoBoard:
        case CertificateStoreOutcome::PortLost:
            break;
    }
    return Finish(context, kExitBoardLost, "board-lost", fields, OutcomeText{kErrPortVanished});
}

std::optional<OutcomeText> CheckCertMakeRequest(CommandContext& context,
                                                const CertMakeRequest& request) {
    const CertificateSubject& subject = request.subject;
    if (!subject.country.empty() && CountryNameForCode(subject.country) == "Unknown") {
        return OutcomeText{kCliUnknownCountryCode, {subject.country}};
    }
    if (const auto problem = CheckSubject(subject)) {
        return OutcomeText{kMsgSubjectFieldTooLong,
                           {context.Text(kTextSubjectCountry + static_cast<int>(problem->field)),
                            std::to_string(problem->mostCharacters)}};
    }
    return std::nullopt;
}

int MakeAndStoreCertificate(CommandContext& context, BoardAccess& board, CertMakeRequest request,
                            CliOutput::Fields& fields) {
    int status = kExitSuccess;
    if (request.commonNameFromBoard) {
        const std::optional<EnvironmentData> settings =
            ReadBoardSettings(context, board, fields, status);
        if (!settings) {
            return status;
        }
        request.subject.commonName = DottedAddress(settings->store.ipv4Address);
    }
    const std::optional<CertificateRecordStore> records =
        ReadBoardCertificates(context, board, fields, status);
    if (!records) {
        return status;
    }
    if (request.dryRun) {
        fields.push_back({"subject_cn", Text(request.subject.commonName)});
        context.output.Note(context.Text(kCliDryRun));
        return Finish(context, kExitSuccess, "dry-run", fields, std::nullopt);
    }
    const auto key = board.Await<std::optional<PrivateKey>>(
        [&](auto done) { board.session().MakeRsaKey(request.bits, std::move(done)); });
    if (!key) {
        return FinishInterrupted(context, board, kCliInterrupted, fields);
    }
    const std::optional<Certificate> certificate =
        *key ? MakeSelfSignedCertificate(**key, request.subject, std::time(nullptr))
             : std::nullopt;
    if (!certificate) {
        return Finish(context, kExitFailure, "not-made", fields, OutcomeText{kCliCertificateNotUsed});
    }
    return StoreAndConfirm(context, board, TlsIdentity{*certificate, **key}, *records, fields);
}

}  // namespace varnow::cli
