#include "UploadRun.h"

#include "BoardRun.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"

namespace varnow::cli {
namespace {

// The firmware image of a firmware or combined package, split off where the session keeps
// its files.
std::filesystem::path FirmwareOf(LoadedPackage& package, BoardSession& session) {
    Messenger& messenger = session.messenger();
    const PackageKind kind = ClassifyPackage(package.packagePath(), messenger);
    if (kind == PackageKind::Firmware) {
        return package.packagePath();
    }
    if (kind == PackageKind::ImageAndFirmware &&
        LoadPackage(package, session.upload().extractionFolder(), messenger)) {
        return package.extractedFirmwarePath();
    }
    return {};
}

QJsonValue Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

int WriteFirmwareTo(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                    bool dryRun, CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const std::filesystem::path firmware = FirmwareOf(package, session);
    if (dryRun) {
        // The boot loader is reached by a restart: the first write. Nothing goes further.
        fields.push_back({"firmware", firmware.empty() ? "refused" : "dry-run"});
        return firmware.empty()
                   ? Finish(context, kExitPackageRefused, "package-refused", fields,
                            OutcomeText{kErrPackageRefused, {package.packagePath().string()}})
                   : Finish(context, kExitSuccess, "dry-run", fields, std::nullopt);
    }
    const auto result = board.Await<FirmwareResult>(
        [&](auto done) { session.UpgradeFirmware(firmware, std::move(done)); });
    if (!result) {
        return FinishInterrupted(context, board, kCliInterruptedInFirmware, fields);
    }
    fields.push_back({"firmware", FirmwareOutcomeName(result->code)});
    return Finish(context, StatusOfFirmware(*result), FirmwareOutcomeName(result->code), fields,
                  DescribeFirmware(*result, board.portName(), package.packagePath().string()));
}

int WritePackageTo(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                   UploadOptions options, CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const auto result = board.Await<WriteResult>(
        [&](auto done) { session.Upload(package, std::move(done), options); });
    if (!result) {
        const bool inFirmware = session.firmware().running();
        const bool touched = inFirmware || session.upload().erased();
        return FinishInterrupted(context, board,
                                 inFirmware ? kCliInterruptedInFirmware
                                 : touched  ? kCliInterruptedInImage
                                            : kCliInterrupted,
                                 fields);
    }
    const UploadResult& upload = result->upload;
    fields.push_back({"upload", UploadOutcomeName(upload.code)});
    const bool sent =
        upload.code == UploadOutcome::Verified || upload.code == UploadOutcome::HashMismatch;
    if (sent || upload.code == UploadOutcome::Unchanged || upload.code == UploadOutcome::DryRun) {
        fields.push_back({"image_bytes", static_cast<double>(session.upload().imageBytes())});
        fields.push_back({"image_hash", Text(session.upload().imageHash())});
    }
    if (sent) {
        fields.push_back({"send_seconds", session.upload().sendSeconds()});
    }
    std::string outcome = UploadOutcomeName(upload.code);
    if (result->firmware) {
        fields.push_back({"firmware", FirmwareOutcomeName(result->firmware->code)});
        if (StatusOfUpload(upload.code) == kExitSuccess) {
            outcome = FirmwareOutcomeName(result->firmware->code);
        }
    }
    return Finish(context, StatusOfWrite(*result), outcome, fields,
                  DescribeWrite(*result, board.portName(), package.packagePath().string()));
}

}  // namespace varnow::cli
