#include "UploadCommand.h"

#include <CLI/CLI.hpp>

#include "InspectCommand.h"
#include "ResultFields.h"

namespace varnow::cli {

CliOutput::Fields WriteFields(const WriteResult& result) {
    CliOutput::Fields fields{{"upload", UploadOutcomeName(result.upload.code)}};
    const UploadOutcome code = result.upload.code;
    const bool sent = code == UploadOutcome::Verified || code == UploadOutcome::HashMismatch;
    if (sent || code == UploadOutcome::Unchanged || code == UploadOutcome::DryRun) {
        fields.push_back({"image_bytes", static_cast<double>(result.imageBytes)});
        fields.push_back({"image_hash", Json(result.imageHash)});
    }
    if (sent) {
        fields.push_back({"send_seconds", result.sendSeconds});
    }
    if (result.firmware) {
        fields.push_back({"firmware", FirmwareOutcomeName(result.firmware->code)});
    }
    return fields;
}

int InterruptedWriteText(const WritePackageOperation& write) {
    // The boot loader is named only when the board was sent there.
    return write.bootLoaderReached() ? kCliInterruptedInFirmware
           : write.imageTouched()    ? kCliInterruptedInImage
                                     : kCliInterrupted;
}

std::optional<int> RefusePackage(CommandContext& context, const std::string& package,
                                 const std::filesystem::path& scratchFolder, bool needsFirmware) {
    const CliOutput::Fields fields{{"package", Json(package)}};
    if (const auto reason = PackageUnreadable(package)) {
        return Finish(context, kExitPackageRefused, "unreadable", fields,
                      OutcomeText{kCliPackageUnreadable, {package, *reason}});
    }
    PrintedMessages printed(context.output);
    Messenger messenger(printed, context.strings, context.options.language);
    const PackageCheck check = CheckPackage(package, messenger, scratchFolder);
    if (!check.sound) {
        return Finish(context, kExitPackageRefused, "package-refused", fields,
                      PackageRefusal(context, package));
    }
    if (needsFirmware && !check.hasFirmware) {
        return Finish(context, kExitPackageRefused, "no-firmware", fields,
                      OutcomeText{kCliNoFirmwareInPackage, {package}});
    }
    return std::nullopt;
}

void UploadCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk)")->required();
    command.add_flag("--skip-unchanged", m_skipUnchanged,
                     "write no image the board already holds (its hash is the image's)");
    command.add_flag("--dry-run", m_dryRun,
                     "check the package and the board up to the first write, and write nothing");
}

std::optional<int> UploadCommand::Prepare(CommandContext& context) {
    return RefusePackage(context, m_package, m_scratchFolder, false);
}

int UploadCommand::OnBoard(CommandContext& context, BoardAccess& board, CliOutput::Fields& fields) {
    fields.push_back({"package", Json(m_package)});
    LoadedPackage package;
    package.SetPackagePath(m_package);
    const auto write =
        board.Run<WritePackageOperation>(package, UploadOptions{m_skipUnchanged, m_dryRun});
    if (board.interrupted()) {
        return FinishInterrupted(context, InterruptedWriteText(*write), fields);
    }
    const WriteResult& result = write->result();
    const CliOutput::Fields written = WriteFields(result);
    fields.insert(fields.end(), written.begin(), written.end());
    std::string outcome = UploadOutcomeName(result.upload.code);
    if (result.firmware && StatusOf(result.upload) == kExitSuccess) {
        outcome = FirmwareOutcomeName(result.firmware->code);
    }
    return Finish(context, StatusOf(result), outcome, fields,
                  DescribeWrite(result, board.portName(), m_package), write.get());
}

}  // namespace varnow::cli
