#include "StationJob.h"

#include <QElapsedTimer>
#include <sstream>

#include "BoardConnection.h"
#include "ExitStatus.h"
#include "ResultFields.h"
#include "UploadCommand.h"
#include "app/OutcomeNames.h"
#include "certs/CertificateReport.h"
#include "link/PortIdentity.h"

namespace varnow::cli {
namespace {

// A folder name for a port: its last part, without what a file name cannot hold.
std::string FolderFor(const std::string& port) {
    std::string name = std::filesystem::path(port).filename().string();
    for (char& c : name) {
        if (c == ':' || c == '\\' || c == '/') {
            c = '_';
        }
    }
    return name.empty() ? "board" : name;
}

}  // namespace

StationJob::StationJob(const StationSetup& setup, std::string port) : m_setup(setup) {
    m_report.port = std::move(port);
}

void StationJob::Interrupt() {
    const std::lock_guard lock(m_mutex);
    m_interrupted = true;
    if (m_control) {
        QMetaObject::invokeMethod(m_control, m_interrupt, Qt::QueuedConnection);
    }
}

BoardReport StationJob::Run() {
    QElapsedTimer clock;
    clock.start();
    // The boards' own messages and progress go nowhere: the station tells one line a board.
    std::ostringstream discarded;
    CliOutput output(discarded, discarded, true, false);
    CliOptions options = m_setup.options;
    options.port = m_report.port;
    options.traceFile.clear();
    options.scratchFolder = (m_setup.scratchFolder / FolderFor(m_report.port)).string();
    std::filesystem::create_directories(options.scratchFolder);
    BoardConnection board(options, output, m_setup.strings, m_report.port, m_setup.password, false);
    board.host().AllowPrompt(false);
    QObject control;
    {
        const std::lock_guard lock(m_mutex);
        m_control = &control;
        m_interrupt = [&board] { board.Interrupt(); };
        if (m_interrupted) {
            board.Interrupt();
        }
    }
    m_report.result = "ok";
    const auto text = [&](const std::optional<OutcomeText>& error) {
        return error ? FillPlaceholders(m_setup.strings.Text(error->stringId, options.language),
                                        error->args)
                     : std::string();
    };
    // A step's end: true to go on; otherwise the report says which step failed and why.
    const auto stepEnded = [&](const char* step, int status, const std::optional<OutcomeText>& why,
                               const Operation* operation) {
        if (board.interrupted()) {
            status = kExitInterrupted;
        }
        if (status == kExitSuccess) {
            return true;
        }
        m_report.status = status;
        m_report.failedStep = step;
        m_report.result = status == kExitInterrupted ? "interrupted" : "failed";
        m_report.error =
            status == kExitInterrupted ? text(OutcomeText{kCliInterrupted}) : text(why);
        if (operation != nullptr && !operation->report().trace.empty()) {
            m_report.trace = operation->report().trace.string();
        }
        return false;
    };
    const auto ended = [&] {
        const std::lock_guard lock(m_mutex);
        m_control = nullptr;
        m_report.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        // A board that restarted may have come back under another name: it ends there.
        if (const std::string& now = board.session().session().portName; !now.empty()) {
            m_report.port = now;
        }
        return m_report;
    };

    const auto connect = board.Run<ConnectOperation>(m_report.port);
    const ConnectReport& connected = connect->result();
    m_report.mcuId = connected.board.mcuId;
    m_report.fibId = connected.board.fibId;
    m_report.usbSerial =
        ListedPort(m_report.port, board.session().platform().ListPorts()).usbSerial;
    if (!stepEnded("connect", StatusOf(connected.outcome),
                   DescribeConnect(connected.outcome, m_report.port), connect.get())) {
        return ended();
    }
    // A board that has no row of its own is refused now, before anything is written to it.
    if (m_setup.plan != nullptr && !m_setup.plan->HasRowFor(m_report.mcuId)) {
        stepEnded("settings", kExitSettingsRefused,
                  OutcomeText{kCliNoSettingsRow, {m_report.mcuId}}, nullptr);
        return ended();
    }

    LoadedPackage package;
    package.SetPackagePath(m_setup.package);
    const auto write = board.Run<WritePackageOperation>(package, m_setup.upload);
    const WriteResult& written = write->result();
    m_report.upload = UploadOutcomeName(written.upload.code);
    m_report.imageHash = written.imageHash;
    if (written.firmware) {
        m_report.firmware = FirmwareOutcomeName(written.firmware->code);
    }
    if (!stepEnded("upload", StatusOf(written),
                   DescribeWrite(written, m_report.port, m_setup.package), write.get())) {
        return ended();
    }
    if (m_report.upload == "unchanged" || m_report.upload == "dry-run") {
        m_report.result = m_report.upload;
    }

    if (m_setup.plan != nullptr) {
        const std::optional<SettingPairs> row = m_setup.plan->RowFor(m_report.mcuId);
        if (!row) {
            stepEnded("settings", kExitSettingsRefused,
                      OutcomeText{kCliNoSettingsRow, {m_report.mcuId}}, nullptr);
            return ended();
        }
        SettingsChange change;
        change.pairs = *row;
        change.dryRun = m_setup.upload.dryRun;
        const auto apply = board.Run<ApplySettingsOperation>(std::move(change));
        const SettingsResult& result = apply->result();
        if (!stepEnded("settings", StatusOf(result), DescribeSettings(result), apply.get())) {
            return ended();
        }
        for (const auto& [key, value] : *row) {
            m_report.settings.push_back(key);
        }
    }

    if (m_setup.certificate) {
        const auto store = board.Run<StoreIdentityOperation>(
            *m_setup.certificate, StoreIdentityOperation::Options{m_setup.upload.dryRun});
        const IdentityResult& result = store->result();
        if (result.certificate) {
            const CertificateSummary summary = SummariseCertificate(*result.certificate);
            m_report.certificateSubject = summary.subject;
            m_report.certificateSha256 = summary.sha256;
        }
        if (!stepEnded("certificate", StatusOf(result), DescribeIdentity(result), store.get())) {
            return ended();
        }
    }
    return ended();
}

}  // namespace varnow::cli
