#include "connect/ConnectOutcome.h"

namespace varnow {

const char* OutcomeName(ConnectOutcome outcome) {
    switch (outcome) {
        case ConnectOutcome::Identified:
            return "identified";
        case ConnectOutcome::IspMode:
            return "isp-mode";
        case ConnectOutcome::NoPortSelected:
            return "no-port";
        case ConnectOutcome::OpenFailed:
            return "open-failed";
        case ConnectOutcome::SetupFailed:
            return "setup-failed";
        case ConnectOutcome::BoardSilent:
            return "board-silent";
        case ConnectOutcome::TimedOut:
            return "timed-out";
        case ConnectOutcome::Stalled:
            return "stalled";
        case ConnectOutcome::FirmwareTooOld:
            return "firmware-too-old";
        case ConnectOutcome::WriterTooOld:
            return "writer-too-old";
        case ConnectOutcome::LoginCancelled:
            return "login-cancelled";
        case ConnectOutcome::LoginRefused:
            return "login-refused";
        case ConnectOutcome::IdentityUnreadable:
            return "identity-unreadable";
        case ConnectOutcome::PortLost:
            return "port-lost";
    }
    return "unknown";
}

}  // namespace varnow
