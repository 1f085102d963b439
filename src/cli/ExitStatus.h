#pragma once

#include <string>
#include <vector>

#include "app/OutcomeText.h"

#include "ui/StringTable.h"

namespace varnow::cli {

// Exit statuses of varnow-cli; each failure class has its own, so scripts can tell them apart.
// The table below is the one list: --help prints it and the README copies it.
enum ExitStatus : int {
    kExitSuccess = 0,
    kExitFailure = 1,           // anything not listed below
    kExitUsage = 2,             // bad command line
    kExitPackageRefused = 3,    // package (or backup) unreadable, not one, or damaged
    kExitNoPort = 4,            // no board port found or given
    kExitOpenFailed = 5,        // the port could not be opened or set up
    kExitBoardSilent = 6,       // the board did not answer, or stopped answering
    kExitFirmwareTooOld = 7,    // the board's firmware must be upgraded
    kExitWriterTooOld = 8,      // the board needs a newer Varno Writer
    kExitLoginRefused = 9,      // no password, or the board refused it, or kept its old one
    kExitIspMode = 10,          // the board is in its ISP boot loader
    kExitBoardLost = 11,        // the board's port vanished, or the board did not come back
    kExitProductMismatch = 12,  // the package is for another product
    kExitTimedOut = 13,         // a step of the transfer got no answer in time
    kExitHashMismatch = 14,     // the board's hash of the stored image differs from the package's
    kExitUnverified = 15,       // the board did not confirm what it stored
    kExitSendFailed = 16,       // the image could not be written to the port
    kExitFirmwareFailed = 17,   // the boot loader did not take the firmware
    kExitSettingsRefused = 18,  // a setting refused (by the rules, or by the board): not written
    kExitReadBackDiffers = 19,  // what was read back after a write differs from what was written
    kExitFileRefused = 20,      // a certificate or key file unreadable, or not what is needed
    kExitNoCertificate = 21,    // the board holds no certificate, or a damaged one
    kExitCertificateRefused = 22,  // the board did not take the certificate
    kExitValuesUnreadable = 23,    // what the board reported came damaged
    kExitInterrupted = 130,        // Ctrl-C: the port was closed
};

struct ExitStatusEntry {
    int status;
    const char* meaning;
};
const std::vector<ExitStatusEntry>& ExitStatusTable();
// The table as --help shows it.
std::string ExitStatusHelp(Language language = Language::English);

ExitStatus StatusOf(const ConnectResult& result);
ExitStatus StatusOf(const UploadResult& result);
ExitStatus StatusOf(const FirmwareResult& result);
ExitStatus StatusOf(const WriteResult& result);
ExitStatus StatusOf(const Outcome<SettingsReadOutcome>& outcome);
ExitStatus StatusOf(const SettingsResult& result);
ExitStatus StatusOf(const RestartResult& result);
ExitStatus StatusOf(const PasswordResult& result);
ExitStatus StatusOf(const IdentityResult& result);
ExitStatus StatusOf(const CertificateReadResult& result);
ExitStatus StatusOf(const ProductInfoResult& result);
ExitStatus StatusOf(const NetworkInfoResult& result);

}  // namespace varnow::cli
