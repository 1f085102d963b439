#pragma once

#include <string>

namespace varnow {

// What the tool knows about the connected board.
struct SessionRecord {
    std::string portName;  // the port of the last successful open
    bool isp = false;      // the board answered the probe from its ISP boot loader
    bool auth = false;     // the board asked for a login during this connect
    bool login = false;    // this connection had to log in
    std::string fibId;     // the last data line of "get id fib"
    std::string mcuId;     // the last data line of "get id mcu": hexadecimal digits
    bool reconnectPending = false;
    bool ignoreNextArrival = false;
};

// How the last connect ended; None while it is still running.
enum class ConnectOutcome {
    None,
    Identified,
    IspMode,
    NoPortSelected,
    OpenFailed,
    SetupFailed,
    BoardSilent,     // no answer to six probes
    TimedOut,        // a step of the sequence got no reply in time
    Stalled,         // "get id pdb" got no reply: the sequence stopped without a message
    FirmwareTooOld,  // "501 " to "get id pdb"
    WriterTooOld,    // the board wants a newer tool
    LoginCancelled,
    LoginRefused,  // the board refused a password and the user gave up
    PortLost,      // the board's port vanished while connecting
};

const char* OutcomeName(ConnectOutcome outcome);

}  // namespace varnow
