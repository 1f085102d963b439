#include "UploadCommand.h"

#include <QTimer>
#include <cstdio>

#include "BoardConnection.h"
#include "ExitStatus.h"
#include "firmware/FirmwareUpgrade.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/LoadedPackage.h"
#include "upload/UploadChain.h"

namespace varnow::cli {
namespace {

// Long enough for the largest image at 115200 baud (about 8 minutes).
constexpr int kTransferTimeoutMs = 20 * 60 * 1000;

// A firmware upgrade succeeds when the boot loader took the image and the board came back.
ExitStatus StatusOfFirmware(const Writer& writer) {
    if (writer.lastFirmwareOutcome() != FirmwareOutcome::Transmitted) {
        return writer.lastFirmwareOutcome() == FirmwareOutcome::FileRefused ? kExitPackageRefused
                                                                            : kExitFirmwareFailed;
    }
    return writer.connectOutcome() == ConnectOutcome::Identified ? kExitSuccess : kExitBoardLost;
}

}  // namespace

int UploadCommand::Execute(CommandContext& context) {
    if (context.arguments.size() != 1) {
        return kExitUsage;
    }
    BoardConnection connection(context.options, context.output, context.strings);
    if (!connection.ChoosePort()) {
        context.output.Result(kExitNoPort, "no-port", {});
        return kExitNoPort;
    }
    const ConnectOutcome connected = connection.Connect();
    Writer& writer = connection.writer();
    const bool ispAllowed = m_firmwareOnly && connected == ConnectOutcome::IspMode;
    if (connected != ConnectOutcome::Identified && !ispAllowed) {
        const ExitStatus status = StatusOfConnect(connected);
        context.output.Result(status, OutcomeName(connected), {{"port", connection.portName()}});
        return status;
    }
    LoadedPackage package;
    package.SetPackagePath(context.arguments[0]);
    CliOutput::Fields fields{{"port", connection.portName()}, {"package", context.arguments[0]}};
    ExitStatus status = kExitSuccess;
    std::string outcome;
    if (m_firmwareOnly) {
        // The firmware of a combined package is split off first, as an upload would.
        const PackageKind kind = ClassifyPackage(package.packagePath(), writer.messenger());
        std::filesystem::path firmware = package.packagePath();
        if (kind == PackageKind::ImageAndFirmware &&
            LoadPackage(package, writer.platform().AppDataFolder(), writer.messenger())) {
            firmware = package.extractedFirmwarePath();
        } else if (kind != PackageKind::Firmware) {
            context.output.Result(kExitPackageRefused, "package-refused", fields);
            return kExitPackageRefused;
        }
        connection.RunChain([&] { writer.RunFirmwareUpgrade(firmware); },
                            [&] { return writer.firmwareWindow() == nullptr; }, kTransferTimeoutMs);
        status = StatusOfFirmware(writer);
        outcome = FirmwareOutcomeName(writer.lastFirmwareOutcome());
    } else {
        const bool finished = connection.RunChain(
            [&] { writer.StartUpload(package); },
            [&] {
                return writer.upload().outcome() != UploadOutcome::None &&
                       writer.firmwareWindow() == nullptr && !writer.progressShown();
            },
            kTransferTimeoutMs);
        const UploadOutcome upload = writer.upload().outcome();
        if (!finished) {
            fields.push_back({"stalled", "the board stopped answering"});
        }
        status = StatusOfUpload(upload);
        outcome = UploadOutcomeName(upload);
        fields.push_back({"upload", outcome});
        if (upload == UploadOutcome::Verified || upload == UploadOutcome::HashMismatch) {
            fields.push_back({"image hash", writer.upload().imageHash()});
            char seconds[32];
            std::snprintf(seconds, sizeof seconds, "%.3f", writer.upload().sendSeconds());
            fields.push_back({"send seconds", seconds});
        }
        const bool hadFirmware = writer.lastFirmwareOutcome() != FirmwareOutcome::None;
        if (hadFirmware) {
            fields.push_back({"firmware", FirmwareOutcomeName(writer.lastFirmwareOutcome())});
            if (status == kExitSuccess) {
                status = StatusOfFirmware(writer);
                outcome = FirmwareOutcomeName(writer.lastFirmwareOutcome());
            }
        }
    }
    context.output.Result(status, outcome, fields);
    return status;
}

}  // namespace varnow::cli
