#include "ExitStatus.h"

namespace varnow::cli {

ExitStatus StatusOfConnect(ConnectOutcome outcome) {
    switch (outcome) {
        case ConnectOutcome::Identified: return kExitSuccess;
        case ConnectOutcome::IspMode: return kExitIspMode;
        case ConnectOutcome::NoPortSelected: return kExitNoPort;
        case ConnectOutcome::OpenFailed:
        case ConnectOutcome::SetupFailed: return kExitOpenFailed;
        case ConnectOutcome::BoardSilent:
        case ConnectOutcome::TimedOut:
        case ConnectOutcome::Stalled: return kExitBoardSilent;
        case ConnectOutcome::FirmwareTooOld: return kExitFirmwareTooOld;
        case ConnectOutcome::WriterTooOld: return kExitWriterTooOld;
        case ConnectOutcome::LoginCancelled:
        case ConnectOutcome::LoginRefused: return kExitLoginRefused;
        case ConnectOutcome::PortLost: return kExitBoardLost;
        case ConnectOutcome::None: return kExitFailure;
    }
    return kExitFailure;
}

}  // namespace varnow::cli
