#pragma once

#include "session/SessionRecord.h"

namespace varnow::cli {

// Exit statuses of varnow-cli; each failure class has its own, so scripts can tell them apart.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,          // anything not listed below
    kExitUsage = 2,            // bad command line
    kExitPackageRefused = 3,   // package unreadable, not a package, or damaged
    kExitNoPort = 4,           // no board port found or given
    kExitOpenFailed = 5,       // the port could not be opened or set up
    kExitBoardSilent = 6,      // the board did not answer, or stopped answering
    kExitFirmwareTooOld = 7,   // the board's firmware must be upgraded
    kExitWriterTooOld = 8,     // the board needs a newer Varno Writer
    kExitLoginRefused = 9,     // no password, or the board refused it
    kExitIspMode = 10,         // the board is in its ISP boot loader
    kExitBoardLost = 11,       // the board's port vanished
};

ExitStatus StatusOfConnect(ConnectOutcome outcome);

}  // namespace varnow::cli
