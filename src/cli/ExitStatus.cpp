#include "ExitStatus.h"

namespace varnow::cli {

ExitStatus StatusOfConnect(ConnectOutcome outcome) {
    switch (outcome) {
        case ConnectOutcome::Identified:
            return kExitSuccess;
        case ConnectOutcome::IspMode:
            return kExitIspMode;
        case ConnectOutcome::NoPortSelected:
            return kExitNoPort;
        case ConnectOutcome::OpenFailed:
        case ConnectOutcome::SetupFailed:
            return kExitOpenFailed;
        case ConnectOutcome::BoardSilent:
        case ConnectOutcome::TimedOut:
        case ConnectOutcome::Stalled:
            return kExitBoardSilent;
        case ConnectOutcome::FirmwareTooOld:
            return kExitFirmwareTooOld;
        case ConnectOutcome::WriterTooOld:
            return kExitWriterTooOld;
        case ConnectOutcome::LoginCancelled:
        case ConnectOutcome::LoginRefused:
            return kExitLoginRefused;
        case ConnectOutcome::PortLost:
            return kExitBoardLost;
    }
    return kExitFailure;
}

ExitStatus StatusOfUpload(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::Verified:
        case UploadOutcome::FirmwareOnly:
        case UploadOutcome::Unchanged:
        case UploadOutcome::DryRun:
            return kExitSuccess;
        case UploadOutcome::HashMismatch:
            return kExitHashMismatch;
        case UploadOutcome::Unverified:
            return kExitUnverified;
        case UploadOutcome::PackageRefused:
            return kExitPackageRefused;
        case UploadOutcome::ProductMismatch:
            return kExitProductMismatch;
        case UploadOutcome::IspMode:
            return kExitIspMode;
        case UploadOutcome::NoBoard:
        case UploadOutcome::BoardLost:
            return kExitBoardLost;
        case UploadOutcome::TimedOut:
        case UploadOutcome::Stalled:
            return kExitTimedOut;
        case UploadOutcome::SendFailed:
            return kExitSendFailed;
    }
    return kExitFailure;
}

ExitStatus StatusOfFirmware(const FirmwareResult& result) {
    switch (result.code) {
        case FirmwareOutcome::Upgraded:
            return kExitSuccess;
        case FirmwareOutcome::FileRefused:
            return kExitPackageRefused;
        case FirmwareOutcome::NoBoard:
        case FirmwareOutcome::BoardLost:
        case FirmwareOutcome::NotBack:
            return kExitBoardLost;
        case FirmwareOutcome::TimedOut:
        case FirmwareOutcome::Refused:
        case FirmwareOutcome::SendFailed:
            return kExitFirmwareFailed;
        case FirmwareOutcome::ReconnectFailed:
            return StatusOfConnect(result.reconnect.code);
        case FirmwareOutcome::Cancelled:
            return kExitFailure;
    }
    return kExitFailure;
}

ExitStatus StatusOfWrite(const WriteResult& result) {
    const ExitStatus upload = StatusOfUpload(result.upload.code);
    if (upload != kExitSuccess || !result.firmware) {
        return upload;
    }
    return StatusOfFirmware(*result.firmware);
}

}  // namespace varnow::cli
