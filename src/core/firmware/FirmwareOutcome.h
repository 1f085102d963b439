#pragma once

#include "connect/ConnectOutcome.h"
#include "session/Outcome.h"

namespace varnow {

// How a firmware upgrade ended.
enum class FirmwareOutcome {
    Upgraded,         // programmed, restarted, and the board identified again
    FileRefused,      // the file could not be read or its CRC is wrong
    NoBoard,          // the port was not open
    TimedOut,         // a step of the boot loader got no answer in time
    Refused,          // the boot loader answered with an error
    SendFailed,       // the image could not be written to the port
    BoardLost,        // the board's port vanished during the transfer
    NotBack,          // programmed, but the board did not come back in time
    ReconnectFailed,  // programmed, but connecting to the restarted board failed
    Cancelled,        // the user closed the window before the transfer began
};

struct FirmwareResult : Outcome<FirmwareOutcome> {
    ConnectResult reconnect;  // for ReconnectFailed: how the connect ended
};

const char* FirmwareOutcomeName(FirmwareOutcome outcome);

}  // namespace varnow
