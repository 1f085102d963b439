#include "UploadCommand.h"

#include <CLI/CLI.hpp>

#include "BoardRun.h"
#include "CliHost.h"
#include "PackageCheck.h"
#include "UploadRun.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"

namespace varnow::cli {
namespace {

QJsonValue Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void UploadCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk)")->required();
    if (!m_firmwareOnly) {
        command.add_flag("--skip-unchanged", m_skipUnchanged,
                         "write no image the board already holds (its hash is the image's)");
    }
    command.add_flag("--dry-run", m_dryRun,
                     "check the package and the board up to the first write, and write nothing");
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
    return m_firmwareOnly
               ? WriteFirmwareTo(context, *board, package, m_dryRun, fields)
               : WritePackageTo(context, *board, package, {m_skipUnchanged, m_dryRun}, fields);
}

}  // namespace varnow::cli
