#include "app/OutcomeText.h"

#include "info/FibId.h"
#include "link/Platform.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// A package the write would not take; with no package named, the user has not chosen one yet.
OutcomeText RefusedPackage(const std::string& package) {
    if (package.empty()) {
        return OutcomeText{kMsgChoosePackage, {}};
    }
    return OutcomeText{kErrPackageRefused, {package}};
}

// A port that would not open: the system's reason, with the remedy that fits it.
OutcomeText PortNotOpened(const ConnectResult& result, const std::string& port) {
    if (result.error == kSerialNotATerminal) {
        return OutcomeText{kErrNotASerialPort, {port}};
    }
    const int id = result.error == kSerialAccessDenied ? kErrPortForbidden : kErrPortNotOpened;
    return OutcomeText{id, {port, result.reason}};
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) {
        text += (text.empty() ? "" : ", ") + name;
    }
    return text;
}

// Another board answered where the one that restarted was looked for.
OutcomeText OtherBoardBack(const std::optional<RestartResult>& restart) {
    if (!restart) {
        return OutcomeText{kErrOtherBoardBack, {"?", "?"}};
    }
    return OutcomeText{kErrOtherBoardBack, {restart->otherMcuId, restart->otherPort}};
}

// The settings were written and read back; only the restart that applies them failed.
OutcomeText SettingsRestartFailed(const SettingsResult& result) {
    const RestartOutcome code =
        result.restart ? result.restart->outcome.code : RestartOutcome::NotBack;
    switch (code) {
        case RestartOutcome::Refused:
            return OutcomeText{kErrSettingsHeldNoRestart, {}};
        case RestartOutcome::OtherBoard:
            return OtherBoardBack(result.restart);
        default:
            return OutcomeText{kErrSettingsHeldNotBack, {}};
    }
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
        case ConnectOutcome::IdentityUnreadable:
            return OutcomeText{kMsgMcuIdUnreadable, {result.reason}};
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
            return RefusedPackage(package);
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
            return OutcomeText{result.erased ? kErrNoAnswerImageErased : kErrNoAnswer,
                               {result.command}};
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
            return RefusedPackage(package);
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
    if (result.firmware && result.firmware->code == FirmwareOutcome::NoBoard &&
        result.upload.code != UploadOutcome::FirmwareOnly) {
        return OutcomeText{kErrFirmwareNotReached, {}};
    }
    if (result.firmware) {
        return DescribeFirmware(*result.firmware, port, package);
    }
    return std::nullopt;
}

std::optional<OutcomeText> DescribeSettingsRead(const Outcome<SettingsReadOutcome>& outcome) {
    switch (outcome.code) {
        case SettingsReadOutcome::Read:
            return std::nullopt;
        case SettingsReadOutcome::IspMode:
            return OutcomeText{kErrInBootLoader, {}};
        case SettingsReadOutcome::TimedOut:
            return OutcomeText{kErrNoAnswer, {outcome.command}};
        case SettingsReadOutcome::Undecodable:
            return OutcomeText{kMsgGetConfigurationFailed, {}};
        case SettingsReadOutcome::NoBoard:
        case SettingsReadOutcome::PortLost:
            break;
    }
    return OutcomeText{kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribeRestart(const RestartResult& result, const std::string& port) {
    switch (result.outcome.code) {
        case RestartOutcome::Back:
            return std::nullopt;
        case RestartOutcome::Refused:
            return OutcomeText{kErrNoAnswer, {"reboot sys 100"}};
        case RestartOutcome::NotBack:
            return OutcomeText{kErrNotBackAfterRestart, {}};
        case RestartOutcome::ReconnectFailed:
            return DescribeConnect(result.connect.value_or(ConnectResult{ConnectOutcome::PortLost}),
                                   port);
        case RestartOutcome::OtherBoard:
            return OtherBoardBack(result);
        case RestartOutcome::NoBoard:
            break;
    }
    return OutcomeText{kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribeSettings(const SettingsResult& result,
                                            const std::string& backupFile) {
    const std::string backup = result.backup.string();
    switch (result.outcome.code) {
        case SettingsOutcome::Written:
        case SettingsOutcome::Unchanged:
        case SettingsOutcome::DryRun:
            return std::nullopt;
        case SettingsOutcome::Refused:
            return OutcomeText{result.refusal.stringId, result.refusal.args};
        case SettingsOutcome::ChangedMeanwhile:
            return OutcomeText{kMsgSettingsChangedMeanwhile, {}};
        case SettingsOutcome::OtherBoard:
            return OutcomeText{kCliBackupOfOtherBoard, {backupFile, "?"}};
        case SettingsOutcome::BadBackup:
            return OutcomeText{kCliBackupUnusable, {backupFile, "its block fails its checks"}};
        case SettingsOutcome::NotRead:
            return result.outcome.command.empty()
                       ? OutcomeText{kErrSettingsNotRead, {}}
                       : OutcomeText{kErrNoAnswerNothingWritten, {result.outcome.command}};
        case SettingsOutcome::BackupFailed:
            return OutcomeText{kCliBackupFailed, {result.backupProblem}};
        case SettingsOutcome::NotSent:
            return OutcomeText{kErrSettingsNotSent, {}};
        case SettingsOutcome::NotTaken:
            return OutcomeText{kErrSettingsNotTaken, {}};
        case SettingsOutcome::ReadBackDiffers:
            return OutcomeText{kCliReadBackDiffers, {backup}};
        case SettingsOutcome::Unconfirmed:
            return OutcomeText{kErrSettingsUnconfirmed, {backup}};
        case SettingsOutcome::RestartFailed:
            return SettingsRestartFailed(result);
        case SettingsOutcome::IspMode:
            return OutcomeText{kErrInBootLoader, {}};
        case SettingsOutcome::NoBoard:
        case SettingsOutcome::BoardLost:
            break;
    }
    return result.held == SettingsHeld::Unknown
               ? OutcomeText{kErrPortVanishedSettingsSent, {backup}}
               : OutcomeText{kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribePassword(const PasswordResult& result, bool deleting) {
    switch (result.outcome.code) {
        case PasswordOutcome::Set:
        case PasswordOutcome::Deleted:
        case PasswordOutcome::Restarted:
            return std::nullopt;
        case PasswordOutcome::Refused:
            return OutcomeText{kErrPasswordRecordRefused, {}};
        case PasswordOutcome::NoMcuId:
            return OutcomeText{kErrNoMcuIdForPassword, {}};
        case PasswordOutcome::McuIdUnsure:
            return OutcomeText{kErrMcuIdUnsure, {}};
        case PasswordOutcome::OldStillTaken:
            return OutcomeText{deleting ? kCliPasswordStillAsked : kErrOldPasswordTaken, {}};
        case PasswordOutcome::NeitherTaken:
            return OutcomeText{kErrNeitherPasswordTaken, {}};
        case PasswordOutcome::NotBack:
            return OutcomeText{kErrPasswordNotBack, {}};
        case PasswordOutcome::ReconnectFailed:
            return OutcomeText{kErrPasswordReconnectFailed, {}};
        case PasswordOutcome::OtherBoard:
            return OtherBoardBack(result.restart);
        case PasswordOutcome::TimedOut:
            return OutcomeText{kErrNoAnswerNothingWritten, {result.outcome.command}};
        case PasswordOutcome::IspMode:
            return OutcomeText{kErrInBootLoader, {}};
        case PasswordOutcome::NoBoard:
        case PasswordOutcome::BoardLost:
            break;
    }
    return OutcomeText{kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribeIdentity(const IdentityResult& result) {
    switch (result.outcome.code) {
        case IdentityOutcome::Stored:
        case IdentityOutcome::DryRun:
            return std::nullopt;
        case IdentityOutcome::KeyNotRsa:
            return OutcomeText{kMsgKeyNotRsa, {"?"}};
        case IdentityOutcome::KeyMismatch:
            return OutcomeText{kMsgKeyMismatch, {}};
        case IdentityOutcome::KeyTooShort:
            return OutcomeText{kMsgKeyTooShort, {std::to_string(result.keyBits)}};
        case IdentityOutcome::CertificateDamaged:
            return OutcomeText{kMsgCertificateSignatureBad, {}};
        case IdentityOutcome::NotPacked:
            return OutcomeText{kErrCertificateNotPacked, {}};
        case IdentityOutcome::KeyFailed:
            return OutcomeText{kErrKeyNotMade, {}};
        case IdentityOutcome::NotRead:
            return OutcomeText{kMsgCertificateBlockUnread, {}};
        case IdentityOutcome::Refused:
            return OutcomeText{kCliCertificateNotTaken, {}};
        case IdentityOutcome::NotTaken:
            return OutcomeText{kMsgCertificateNotKept, {}};
        case IdentityOutcome::Differs:
            return OutcomeText{kErrCertificateDiffers, {}};
        case IdentityOutcome::Unconfirmed:
            return OutcomeText{result.boardSaidStored ? kMsgCertificateStoredUnchecked
                                                      : kErrCertificateUnconfirmed,
                               {}};
        case IdentityOutcome::NoBoard:
        case IdentityOutcome::BoardLost:
            break;
    }
    return OutcomeText{result.blockSent ? kErrPortVanishedCertificateSent : kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribeCertificateRead(const CertificateReadResult& result) {
    switch (result.outcome.code) {
        case CertificateReadOutcome::Read:
        case CertificateReadOutcome::NoBlock:
            return std::nullopt;
        case CertificateReadOutcome::Damaged:
            return OutcomeText{kCliCertificateUndecodable, {}};
        case CertificateReadOutcome::TimedOut:
            return OutcomeText{kErrNoAnswer, {result.outcome.command}};
        case CertificateReadOutcome::NoBoard:
        case CertificateReadOutcome::PortLost:
            break;
    }
    return OutcomeText{kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribeProductInfo(const ProductInfoResult& result) {
    switch (result.outcome.code) {
        case ProductInfoOutcome::Read:
            if (!result.unreadable.empty()) {
                return OutcomeText{kErrValuesUnreadable, {Joined(result.unreadable)}};
            }
            return std::nullopt;
        case ProductInfoOutcome::TimedOut:
        case ProductInfoOutcome::HeadStalled:
            return OutcomeText{kErrNoAnswer, {result.outcome.command}};
        case ProductInfoOutcome::Undecodable:
        case ProductInfoOutcome::MalformedTail:
            return OutcomeText{kMsgGetConfigurationFailed, {}};
        case ProductInfoOutcome::NoBoard:
        case ProductInfoOutcome::PortLost:
            break;
    }
    return OutcomeText{kErrPortVanished, {}};
}

std::optional<OutcomeText> DescribeNetworkInfo(const NetworkInfoResult& result) {
    switch (result.outcome.code) {
        case NetworkInfoOutcome::Read:
            if (!result.unreadable.empty()) {
                return OutcomeText{kErrValuesUnreadable, {Joined(result.unreadable)}};
            }
            return std::nullopt;
        case NetworkInfoOutcome::Refused:
            return OutcomeText{kMsgNetworkInfoFailed, {}};
        case NetworkInfoOutcome::TimedOut:
            return OutcomeText{kErrNoAnswer, {result.outcome.command}};
        case NetworkInfoOutcome::NoBoard:
        case NetworkInfoOutcome::PortLost:
            break;
    }
    return OutcomeText{kErrPortVanished, {}};
}

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
                        const std::string& package) {
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
        return OutcomeText{kStatusImageUnchanged, {result.imageName, result.imageHash}};
    }
    return OutcomeText{result.firmware ? kStatusImageAndFirmwareWritten : kStatusImageWritten,
                       {result.imageName, result.imageHash}};
}

}  // namespace varnow
