#pragma once

#include <QObject>
#include <QPointer>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CliOptions.h"
#include "ops/CertificateOperations.h"
#include "station/SettingsPlan.h"
#include "ui/StringTable.h"
#include "upload/UploadOutcome.h"

namespace varnow::cli {

// What every board of a station run gets: the same package, options and settings plan.
struct StationSetup {
    CliOptions options;
    const StringTable& strings;
    std::string package;
    UploadOptions upload;
    SettingsPlan* plan = nullptr;  // per-board settings, when given
    std::optional<NewIdentity> certificate;
    std::optional<std::string> password;  // the boards' administrator password, if they ask
    std::filesystem::path scratchFolder;  // each board splits firmware off in its own folder
};

// How one board's job ended.
struct BoardReport {
    std::string port;
    std::string mcuId;
    std::string usbSerial;  // where the system tells it
    std::string fibId;
    std::string imageHash;
    std::string upload;                 // verified, unchanged, dry-run, ...
    std::string firmware;               // upgraded, ... (a package with firmware)
    std::vector<std::string> settings;  // the keys written
    std::string certificateSubject;
    std::string certificateSha256;
    std::string result;      // ok, unchanged, dry-run, failed, interrupted
    std::string failedStep;  // connect, upload, settings, certificate
    std::string error;       // the failure's one line
    std::string trace;       // where the failed exchange was saved
    int status = 0;
    double seconds = 0;
    bool failed() const { return status != 0; }
};

// One board's job: connect and identify, upload with verification, then the board's settings
// row and a new certificate when asked. It runs on a thread of its own with its own port,
// session and output, so that boards never wait for each other; each step is an operation
// whose result the job reads.
class StationJob {
public:
    StationJob(const StationSetup& setup, std::string port);

    // The whole job, on the calling thread; ends with the board's report.
    BoardReport Run();
    // From any thread: the job closes its port and ends at its next step.
    void Interrupt();

private:
    const StationSetup& m_setup;
    BoardReport m_report;
    std::mutex m_mutex;
    QPointer<QObject> m_control;  // lives on the job's thread; takes the interruption there
    std::function<void()> m_interrupt;
    bool m_interrupted = false;
};

}  // namespace varnow::cli
