#pragma once

#include "session/Outcome.h"

namespace varnow {

// How a connect ended.
enum class ConnectOutcome {
    Identified,
    IspMode,  // the board answered from its ISP boot loader; the port stays open
    NoPortSelected,
    OpenFailed,
    SetupFailed,
    BoardSilent,     // no answer to six probes
    TimedOut,        // a step got no reply in time: message, disconnected
    Stalled,         // a step got no reply in time and the sequence stopped without a word
    FirmwareTooOld,  // "501 " to "get id pdb"
    WriterTooOld,    // the board wants a newer tool
    LoginCancelled,
    LoginRefused,        // the board refused a password and the user gave up
    IdentityUnreadable,  // the MCU id came damaged: the board is not known, nothing derived
    PortLost,            // the board's port vanished while connecting
};

using ConnectResult = Outcome<ConnectOutcome>;

const char* OutcomeName(ConnectOutcome outcome);

}  // namespace varnow
