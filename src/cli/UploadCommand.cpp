#include "UploadCommand.h"

#include <CLI/CLI.hpp>

#include "BoardRun.h"
#include "CliHost.h"
#include "PackageCheck.h"
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

void UploadCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk)")->required();
}

std::optional<int> UploadCommand::RefusePackage(CommandContext& context) {
    const CliOutput::Fields fields{{"package", Text(m_package)}};
    if (const auto reason = PackageUnreadable(m_package)) {
        return Finish(context, kExitPackageRefused, "unreadable", fields,
                      OutcomeText{kCliPackageUnreadable, {m_package, *reason}});
    }
    CliHost host(context.output, context.strings, context.options.language, "", std::nullopt);
    Messenger messenger(host, context.strings, context.options.language);
    const PackageCheck check = CheckPackage(m_package, messenger, m_scratchFolder);
    if (!check.sound) {
        return Finish(context, kExitPackageRefused, "package-refused", fields,
                      OutcomeText{kErrPackageRefused, {m_package}});
    }
    if (m_firmwareOnly && !check.hasFirmware) {
        return Finish(context, kExitPackageRefused, "no-firmware", fields,
                      OutcomeText{kCliNoFirmwareInPackage, {m_package}});
    }
    return std::nullopt;
}

int UploadCommand::Execute(CommandContext& context) {
    if (const auto refused = RefusePackage(context)) {
        return *refused;
    }
    int status = kExitSuccess;
    const std::unique_ptr<BoardAccess> board = OpenChosenBoard(context, status);
    if (!board) {
        return status;
    }
    CliOutput::Fields fields{{"port", Text(board->portName())}, {"package", Text(m_package)}};
    const std::optional<ConnectResult> connected = ConnectBoard(*board);
    if (!connected) {
        return FinishInterrupted(context, *board, kCliInterrupted, fields);
    }
    const bool bootLoaderWelcome = m_firmwareOnly && connected->code == ConnectOutcome::IspMode;
    if (connected->code != ConnectOutcome::Identified && !bootLoaderWelcome) {
        return Finish(context, StatusOfConnect(connected->code), OutcomeName(connected->code),
                      fields, DescribeConnect(*connected, board->portName()));
    }
    LoadedPackage package;
    package.SetPackagePath(m_package);
    return m_firmwareOnly ? UpgradeFirmware(context, *board, package, fields)
                          : WritePackage(context, *board, package, fields);
}

int UploadCommand::UpgradeFirmware(CommandContext& context, BoardAccess& board,
                                   LoadedPackage& package, CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const std::filesystem::path firmware = FirmwareOf(package, session);
    const auto result = board.Await<FirmwareResult>(
        [&](auto done) { session.UpgradeFirmware(firmware, std::move(done)); });
    if (!result) {
        return FinishInterrupted(context, board, kCliInterruptedInFirmware, fields);
    }
    fields.push_back({"firmware", FirmwareOutcomeName(result->code)});
    return Finish(context, StatusOfFirmware(*result), FirmwareOutcomeName(result->code), fields,
                  DescribeFirmware(*result, board.portName(), m_package));
}

int UploadCommand::WritePackage(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                                CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const auto result =
        board.Await<WriteResult>([&](auto done) { session.Upload(package, std::move(done)); });
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
    if (upload.code == UploadOutcome::Verified || upload.code == UploadOutcome::HashMismatch) {
        fields.push_back({"image_bytes", static_cast<double>(session.upload().imageBytes())});
        fields.push_back({"image_hash", Text(session.upload().imageHash())});
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
                  DescribeWrite(*result, board.portName(), m_package));
}

}  // namespace varnow::cli
