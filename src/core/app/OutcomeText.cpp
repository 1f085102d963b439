#include "app/OutcomeText.h"

#include "info/FibId.h"
#include "link/Platform.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// A port that would not open: the system's reason, with the remedy that fits it.
OutcomeText PortNotOpened(const ConnectResult& result, const std::string& port) {
    if (result.error == kSerialNotATerminal) {
        return OutcomeText{kErrNotASerialPort, {port}};
    }
    const int id = result.error == kSerialAccessDenied ? kErrPortForbidden : kErrPortNotOpened;
    return OutcomeText{id, {port, result.reason}};
}

}  // namespace

std::optional<OutcomeText> DescribeConnect(const ConnectResult& result, const std::string& port) {
    switch (result.code) {
        case ConnectOutcome::Identified:
            return std::nullopt;
        case ConnectOutcome::IspMode:
            return OutcomeText{kErrInBootLoader, {}};
        case ConnectOutcome::NoPortSelected:
            return OutcomeText{kErrNoPortChosen, {}};
        case ConnectOutcome::OpenFailed:
            return PortNotOpened(result, port);
        case ConnectOutcome::SetupFailed:
            return OutcomeText{kErrPortNotSetUp, {port, result.reason}};
        case ConnectOutcome::BoardSilent:
            return OutcomeText{kErrBoardSilent, {port}};
        case ConnectOutcome::TimedOut:
        case ConnectOutcome::Stalled:
            return OutcomeText{kErrNoAnswer, {result.command}};
        case ConnectOutcome::FirmwareTooOld:
            return OutcomeText{kErrFirmwareTooOld, {}};
        case ConnectOutcome::WriterTooOld:
            return OutcomeText{kErrWriterTooOld, {}};
        case ConnectOutcome::LoginCancelled:
            return OutcomeText{kErrPasswordNeeded, {}};
        case ConnectOutcome::LoginRefused:
            return OutcomeText{kErrPasswordRefused, {}};
        case ConnectOutcome::PortLost:
            return OutcomeText{kErrPortVanished, {}};
    }
    return std::nullopt;
}

std::optional<OutcomeText> DescribeUpload(const UploadResult& result, const std::string& package) {
    switch (result.code) {
        case UploadOutcome::Verified:
        case UploadOutcome::FirmwareOnly:
        case UploadOutcome::Unchanged:
        case UploadOutcome::DryRun:
            return std::nullopt;
        case UploadOutcome::HashMismatch:
            return OutcomeText{kErrHashDiffers, {}};
        case UploadOutcome::Unverified:
            return OutcomeText{kErrImageUnconfirmed, {}};
        case UploadOutcome::PackageRefused:
            return OutcomeText{kErrPackageRefused, {package}};
        case UploadOutcome::ProductMismatch:
            return OutcomeText{kErrOtherProduct, {}};
        case UploadOutcome::IspMode:
            return OutcomeText{kErrInBootLoader, {}};
        case UploadOutcome::NoBoard:
            return OutcomeText{kErrPortVanished, {}};
        case UploadOutcome::BoardLost:
            return OutcomeText{result.erased ? kErrPortVanishedInImage : kErrPortVanished, {}};
        case UploadOutcome::TimedOut:
        case UploadOutcome::Stalled:
            return OutcomeText{kErrNoAnswer, {result.command}};
        case UploadOutcome::SendFailed:
            return OutcomeText{kErrImageNotWritten, {}};
    }
    return std::nullopt;
}

std::optional<OutcomeText> DescribeFirmware(const FirmwareResult& result, const std::string& port,
                                            const std::string& package) {
    switch (result.code) {
        case FirmwareOutcome::Upgraded:
            return std::nullopt;
        case FirmwareOutcome::FileRefused:
            return OutcomeText{kErrPackageRefused, {package}};
        case FirmwareOutcome::NoBoard:
        case FirmwareOutcome::BoardLost:
            return OutcomeText{kErrPortVanished, {}};
        case FirmwareOutcome::TimedOut:
            return OutcomeText{kErrNoAnswer, {result.command}};
        case FirmwareOutcome::Refused:
        case FirmwareOutcome::SendFailed:
            return OutcomeText{kErrFirmwareNotTaken, {}};
        case FirmwareOutcome::NotBack:
            return OutcomeText{kErrNotBackAfterFirmware, {}};
        case FirmwareOutcome::ReconnectFailed:
            return DescribeConnect(result.reconnect, port);
        case FirmwareOutcome::Cancelled:
            return OutcomeText{kErrFirmwareCancelled, {}};
    }
    return std::nullopt;
}

std::optional<OutcomeText> DescribeWrite(const WriteResult& result, const std::string& port,
                                         const std::string& package) {
    if (auto upload = DescribeUpload(result.upload, package)) {
        return upload;
    }
    if (result.firmware) {
        return DescribeFirmware(*result.firmware, port, package);
    }
    return std::nullopt;
}

}  // namespace varnow

namespace varnow {

std::string ShortPortName(const std::string& port) {
    const auto slash = port.find_last_of("/\\");
    return slash == std::string::npos ? port : port.substr(slash + 1);
}

OutcomeText ConnectStatus(const ConnectResult& result, const std::string& port,
                          const std::string& fibId) {
    const std::string name = ShortPortName(port);
    if (result.code == ConnectOutcome::IspMode) {
        return OutcomeText{kStatusConnectedBootLoader, {name}};
    }
    if (result.code != ConnectOutcome::Identified) {
        return DescribeConnect(result, port).value_or(OutcomeText{});
    }
    const FibInfo fib = DecodeFibId(fibId);
    std::string firmware;
    if (fib.version) {
        firmware = std::to_string(fib.version->major) + "." + std::to_string(fib.version->minor) +
                   "." + std::to_string(fib.version->patch);
    }
    if (fib.sizeKib) {
        firmware += (firmware.empty() ? "" : ", ") + std::to_string(*fib.sizeKib) + "K";
    }
    return firmware.empty() ? OutcomeText{kStatusConnected, {name}}
                            : OutcomeText{kStatusConnectedFirmware, {name, firmware}};
}

OutcomeText WriteStatus(const WriteResult& result, const std::string& port,
                        const std::string& package, const std::string& imageName,
                        const std::string& imageHash) {
    if (auto failure = DescribeWrite(result, port, package)) {
        return *failure;
    }
    if (result.upload.code == UploadOutcome::FirmwareOnly) {
        return OutcomeText{kStatusFirmwareWritten, {}};
    }
    if (result.upload.code == UploadOutcome::DryRun) {
        return OutcomeText{kCliDryRun, {}};
    }
    if (result.upload.code == UploadOutcome::Unchanged && !result.firmware) {
        return OutcomeText{kStatusImageUnchanged, {imageName, imageHash}};
    }
    return OutcomeText{result.firmware ? kStatusImageAndFirmwareWritten : kStatusImageWritten,
                       {imageName, imageHash}};
}

OutcomeText FirmwareStatus(const FirmwareResult& result, const std::string& port,
                           const std::string& package) {
    return DescribeFirmware(result, port, package)
        .value_or(OutcomeText{kStatusFirmwareWritten, {}});
}

}  // namespace varnow
