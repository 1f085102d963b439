#include "FirmwareCommand.h"

#include <CLI/CLI.hpp>

#include "UploadCommand.h"

namespace varnow::cli {

void FirmwareCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk)")->required();
    command.add_flag("--dry-run", m_dryRun,
                     "check the package and the board up to the first write, and write nothing");
}

std::optional<int> FirmwareCommand::Prepare(CommandContext& context) {
    return RefusePackage(context, m_package, m_scratchFolder, true);
}

int FirmwareCommand::OnBoard(CommandContext& context, BoardAccess& board,
                             CliOutput::Fields& fields) {
    fields.push_back({"package", Json(m_package)});
    LoadedPackage package;
    package.SetPackagePath(m_package);
    const auto write = board.Run<WritePackageOperation>(package, UploadOptions{false, m_dryRun},
                                                        PackagePart::FirmwareOnly);
    if (board.interrupted()) {
        return FinishInterrupted(context, InterruptedWriteText(*write), fields);
    }
    const WriteResult& result = write->result();
    if (result.upload.code == UploadOutcome::PackageRefused) {
        fields.push_back({"firmware", "refused"});
        return Finish(context, kExitPackageRefused, "package-refused", fields,
                      OutcomeText{kErrPackageRefused, {m_package}}, write.get());
    }
    if (result.upload.code == UploadOutcome::DryRun) {
        fields.push_back({"firmware", "dry-run"});
        return Finish(context, kExitSuccess, "dry-run", fields, std::nullopt);
    }
    const FirmwareResult& firmware = result.firmware.value_or(FirmwareResult{});
    fields.push_back({"firmware", FirmwareOutcomeName(firmware.code)});
    return Finish(context, StatusOf(firmware), FirmwareOutcomeName(firmware.code), fields,
                  DescribeFirmware(firmware, board.portName(), m_package), write.get());
}

}  // namespace varnow::cli
