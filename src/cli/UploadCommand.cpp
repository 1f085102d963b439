#include "UploadCommand.h"

#include <cstdio>

#include "BoardRun.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/LoadedPackage.h"

namespace varnow::cli {
namespace {

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", seconds);
    return text;
}

// The firmware image of a firmware or combined package; empty (the user told) otherwise.
std::filesystem::path FirmwareOf(LoadedPackage& package, BoardSession& session) {
    Messenger& messenger = session.messenger();
    const PackageKind kind = ClassifyPackage(package.packagePath(), messenger);
    if (kind == PackageKind::Firmware) {
        return package.packagePath();
    }
    if (kind == PackageKind::ImageAndFirmware &&
        LoadPackage(package, session.platform().AppDataFolder(), messenger)) {
        return package.extractedFirmwarePath();
    }
    return {};
}

void AddFirmwareFields(CliOutput::Fields& fields, const FirmwareResult& firmware) {
    fields.push_back({"firmware", FirmwareOutcomeName(firmware.code)});
}

}  // namespace

int UploadCommand::Execute(CommandContext& context) {
    if (context.arguments.size() != 1) {
        return kExitUsage;
    }
    const std::string path = context.arguments[0];
    const std::unique_ptr<BoardAccess> board = context.openBoard();
    if (!board) {
        return Finish(context, kExitNoPort, "no-port", {}, OutcomeText{kErrNoPortChosen, {}});
    }
    const ConnectResult connected = ConnectBoard(*board);
    const bool bootLoaderWelcome = m_firmwareOnly && connected.code == ConnectOutcome::IspMode;
    if (connected.code != ConnectOutcome::Identified && !bootLoaderWelcome) {
        return Finish(context, StatusOfConnect(connected.code), OutcomeName(connected.code),
                      {{"port", board->portName()}}, DescribeConnect(connected, board->portName()));
    }
    LoadedPackage package;
    package.SetPackagePath(path);
    CliOutput::Fields fields{{"port", board->portName()}, {"package", path}};
    return m_firmwareOnly ? UpgradeFirmware(context, *board, package, fields)
                          : WritePackage(context, *board, package, fields);
}

int UploadCommand::UpgradeFirmware(CommandContext& context, BoardAccess& board,
                                   LoadedPackage& package, CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const std::filesystem::path firmware = FirmwareOf(package, session);
    if (firmware.empty()) {
        return Finish(context, kExitPackageRefused, "package-refused", fields,
                      OutcomeText{kErrPackageRefused, {package.packagePath().string()}});
    }
    const auto result = board.Await<FirmwareResult>(
        [&](auto done) { session.UpgradeFirmware(firmware, std::move(done)); });
    const FirmwareResult ended =
        result.value_or(FirmwareResult{{FirmwareOutcome::TimedOut, {}}, {}});
    AddFirmwareFields(fields, ended);
    return Finish(context, StatusOfFirmware(ended), FirmwareOutcomeName(ended.code), fields,
                  DescribeFirmware(ended, board.portName(), package.packagePath().string()));
}

int UploadCommand::WritePackage(CommandContext& context, BoardAccess& board, LoadedPackage& package,
                                CliOutput::Fields& fields) {
    BoardSession& session = board.session();
    const auto result =
        board.Await<WriteResult>([&](auto done) { session.Upload(package, std::move(done)); });
    const WriteResult ended =
        result.value_or(WriteResult{{{UploadOutcome::TimedOut, {}}, {}}, std::nullopt});
    const UploadResult& upload = ended.upload;
    fields.push_back({"upload", UploadOutcomeName(upload.code)});
    if (upload.code == UploadOutcome::Verified || upload.code == UploadOutcome::HashMismatch) {
        fields.push_back({"image hash", session.upload().imageHash()});
        fields.push_back({"send seconds", Seconds(session.upload().sendSeconds())});
    }
    std::string outcome = UploadOutcomeName(upload.code);
    if (ended.firmware) {
        AddFirmwareFields(fields, *ended.firmware);
        if (StatusOfUpload(upload.code) == kExitSuccess) {
            outcome = FirmwareOutcomeName(ended.firmware->code);
        }
    }
    return Finish(context, StatusOfWrite(ended), outcome, fields,
                  DescribeWrite(ended, board.portName(), package.packagePath().string()));
}

}  // namespace varnow::cli
