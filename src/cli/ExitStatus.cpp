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
        case ConnectOutcome::None:
            return kExitFailure;
    }
    return kExitFailure;
}

ExitStatus StatusOfUpload(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::Verified:
        case UploadOutcome::FirmwareOnly:
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
            return kExitBoardLost;
        case UploadOutcome::TimedOut:
            return kExitTimedOut;
        case UploadOutcome::SendFailed:
            return kExitSendFailed;
        case UploadOutcome::None:
            return kExitBoardSilent;
    }
    return kExitFailure;
}

}  // namespace varnow::cli
