#include "StationCommand.h"

#include <CLI/CLI.hpp>
#include <QDateTime>
#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <map>
#include <memory>
#include <set>

#include "HotPlugMonitor.h"
#include "InterruptWatch.h"
#include "PrivateFiles.h"
#include "Report.h"
#include "Secrets.h"
#include "StationJob.h"
#include "UploadCommand.h"

namespace varnow::cli {
namespace {

constexpr int kScanMs = 500;

QJsonObject LogEntry(const BoardReport& report) {
    QJsonArray settings;
    for (const std::string& key : report.settings) {
        settings.append(QString::fromStdString(key));
    }
    auto text = [](const std::string& value) { return QString::fromStdString(value); };
    QJsonObject entry{
        {"time", QDateTime::currentDateTimeUtc().toString(Qt::ISODate)},
        {"port", text(report.port)},
        {"fib_id", text(report.fibId)},
        {"mcu_id", text(report.mcuId)},
        {"image_hash", text(report.imageHash)},
        {"upload", text(report.upload)},
        {"firmware", text(report.firmware)},
        {"settings", settings},
        {"result", text(report.result)},
        {"status", report.status},
        {"seconds", report.seconds},
    };
    if (!report.usbSerial.empty()) {
        entry.insert("usb_serial", text(report.usbSerial));
    }
    if (!report.certificateSubject.empty()) {
        entry.insert("certificate", QJsonObject{{"subject", text(report.certificateSubject)},
                                                {"sha256", text(report.certificateSha256)}});
    }
    if (report.failed()) {
        entry.insert("failed_step", text(report.failedStep));
        entry.insert("error", text(report.error));
        entry.insert("trace", text(report.trace));
    }
    return entry;
}

// The board's line for people: port, MCU id, each step, result, seconds.
std::string LineFor(const BoardReport& report) {
    std::string line = report.port + "  " + (report.mcuId.empty() ? "-" : report.mcuId);
    if (!report.usbSerial.empty()) {
        line += "  usb:" + report.usbSerial;
    }
    if (!report.upload.empty()) {
        line += "  upload " + report.upload;
    }
    if (!report.firmware.empty()) {
        line += "  firmware " + report.firmware;
    }
    if (!report.settings.empty()) {
        line += "  settings " + std::to_string(report.settings.size());
    }
    if (!report.certificateSubject.empty()) {
        line += "  certificate";
    }
    line += "  " + report.result;
    if (report.failed()) {
        line += " at " + report.failedStep + ": " + report.error;
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, "  %.1f s", report.seconds);
    return line + seconds;
}

// The running and the finished jobs, and the ports they were for.
class Station {
public:
    Station(CommandContext& context, StationSetup& setup, std::vector<std::string> givenPorts,
            std::optional<std::string> logFile, int count)
        : m_context(context),
          m_setup(setup),
          m_givenPorts(std::move(givenPorts)),
          m_logFile(std::move(logFile)),
          m_count(count) {}

    int Run();

private:
    std::set<std::string> PresentPorts();
    void Scan();
    void Start(const std::string& port);
    void Ended(const std::string& port, const BoardReport& report);
    void Stop();
    int Summary();

    CommandContext& m_context;
    StationSetup& m_setup;
    std::vector<std::string> m_givenPorts;
    std::optional<std::string> m_logFile;
    int m_count;
    QEventLoop m_loop;
    std::map<std::string, std::unique_ptr<StationJob>> m_running;
    std::set<std::string> m_done;  // written during this plug: not again until it goes
    std::vector<BoardReport> m_reports;
    bool m_stopping = false;
    bool m_interruptedJobs = false;
};

std::set<std::string> Station::PresentPorts() {
    std::set<std::string> present;
    if (m_givenPorts.empty()) {
        for (const auto& port : m_context.listPorts()) {
            present.insert(port.name);
        }
        return present;
    }
    for (const std::string& port : m_givenPorts) {
        std::error_code error;
        if (std::filesystem::exists(port, error) ||
            !std::filesystem::path(port).has_parent_path()) {
            present.insert(port);
        }
    }
    return present;
}

void Station::Scan() {
    if (m_stopping) {
        return;
    }
    const std::set<std::string> present = PresentPorts();
    for (auto it = m_done.begin(); it != m_done.end();) {
        // Gone since it was written: the next board on it is a new one.
        it =
            present.count(*it) == 0 && m_running.count(*it) == 0 ? m_done.erase(it) : std::next(it);
    }
    // While a running board is away (restarting), a port that comes may be that board back
    // under another name: it is left until the jobs whose boards are away have ended, and the
    // port a job ends on counts as written.
    const bool boardAway = std::any_of(m_running.begin(), m_running.end(), [&](const auto& job) {
        return present.count(job.first) == 0;
    });
    for (const std::string& port : present) {
        const bool room =
            m_count == 0 || static_cast<int>(m_reports.size() + m_running.size()) < m_count;
        if (room && !boardAway && m_running.count(port) == 0 && m_done.count(port) == 0) {
            Start(port);
        }
    }
}

void Station::Start(const std::string& port) {
    auto job = std::make_unique<StationJob>(m_setup, port);
    StationJob* running = job.get();
    m_running[port] = std::move(job);
    m_context.output.Note(port + ": writing");
    QThread* thread = QThread::create([this, running, port] {
        const BoardReport report = running->Run();
        QMetaObject::invokeMethod(
            &m_loop, [this, port, report] { Ended(port, report); }, Qt::QueuedConnection);
    });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}

void Station::Ended(const std::string& port, const BoardReport& report) {
    m_running.erase(port);
    m_done.insert(port);
    m_done.insert(report.port);
    m_reports.push_back(report);
    m_interruptedJobs = m_interruptedJobs || report.result == "interrupted";
    const QJsonObject entry = LogEntry(report);
    if (m_context.output.json()) {
        CliOutput::Fields fields;
        for (auto it = entry.begin(); it != entry.end(); ++it) {
            fields.push_back({it.key().toStdString(), it.value()});
        }
        m_context.output.Row("board", fields);
    } else {
        m_context.output.Document(LineFor(report));
    }
    if (m_logFile) {
        std::ofstream log(*m_logFile, std::ios::app);
        log << QJsonDocument(entry).toJson(QJsonDocument::Compact).toStdString() << "\n";
    }
    Scan();  // ports left while its board was away
    const bool counted = m_count > 0 && static_cast<int>(m_reports.size()) >= m_count;
    if ((counted || m_stopping) && m_running.empty()) {
        m_loop.quit();
    }
}

void Station::Stop() {
    m_stopping = true;
    for (auto& [port, job] : m_running) {
        job->Interrupt();
    }
    if (m_running.empty()) {
        m_loop.quit();
    }
}

int Station::Summary() {
    int ok = 0;
    int failed = 0;
    int unchanged = 0;
    for (const BoardReport& report : m_reports) {
        failed += report.failed() ? 1 : 0;
        unchanged += report.result == "unchanged" ? 1 : 0;
        ok += !report.failed() ? 1 : 0;
    }
    const CliOutput::Fields fields{{"boards", static_cast<int>(m_reports.size())},
                                   {"ok", ok},
                                   {"failed", failed},
                                   {"unchanged", unchanged}};
    if (m_interruptedJobs) {
        return Finish(m_context, kExitInterrupted, "interrupted", fields,
                      OutcomeText{kCliInterrupted});
    }
    if (failed > 0) {
        return Finish(m_context, kExitFailure, "failed", fields,
                      OutcomeText{kCliBoardsFailed, {std::to_string(failed)}});
    }
    return Finish(m_context, kExitSuccess, "written", fields, std::nullopt);
}

int Station::Run() {
    platform::InterruptWatch interrupt([this] { Stop(); });
    std::string where;
    for (const std::string& port : m_givenPorts) {
        where += (where.empty() ? "" : ", ") + port;
    }
    m_context.output.Note(m_context.Text(
        kCliStationWaiting, {where.empty() ? m_context.Text(kCliStationAnyPort) : where}));
    platform::HotPlugMonitor hotPlug;
    hotPlug.SetHandlers([this] { Scan(); }, [this] { Scan(); });
    QTimer scan;
    QObject::connect(&scan, &QTimer::timeout, [this] { Scan(); });
    scan.start(kScanMs);
    QTimer::singleShot(0, [this] { Scan(); });
    m_loop.exec();
    return Summary();
}

}  // namespace

void StationCommand::Define(CLI::App& command) {
    command.add_option("package", m_package, "the package (.qvk) every board gets")->required();
    command.add_option(
        "--settings", m_settingsFile,
        "a CSV file of settings: one row a board, by MCU id (column mcu_id) or in order");
    command.add_flag("--cert-make", m_certMake,
                     "make a new key and self-signed certificate for every board");
    m_certOptions.Define(command);
    command.add_flag("--skip-unchanged", m_skipUnchanged, "write no image a board already holds");
    command.add_flag("--dry-run", m_dryRun,
                     "check every board up to its first write; write nothing");
    command.add_option("--log", m_logFile, "append one JSON object a board to this file");
    command.add_option("--count", m_count, "end after this many boards")
        ->check(CLI::PositiveNumber);
}

int StationCommand::Execute(CommandContext& context) {
    if (context.options.simulate) {
        return Finish(context, kExitUsage, "refused", {}, OutcomeText{kCliStationNeedsPorts});
    }
    // Everything is checked before the first board is: the package, the plan (every row),
    // the certificate's subject and the password's source.
    if (const auto refused = RefusePackage(context, m_package, m_scratchFolder, false)) {
        return *refused;
    }
    std::optional<SettingsPlan> plan;
    if (m_settingsFile) {
        std::string problem;
        std::optional<SettingsPlan> loaded = SettingsPlan::Load(*m_settingsFile, problem);
        if (!loaded) {
            return Finish(context, kExitUsage, "refused", {},
                          OutcomeText{kCliSettingsFileRefused, {*m_settingsFile, problem}});
        }
        plan.emplace(std::move(*loaded));
    }
    const SecretRead password =
        ReadSecret(context.options.password, context.options.passwordFromEnvironment);
    if (password.problem) {
        return Finish(context, kExitUsage, "no-password", {}, password.problem);
    }
    StationSetup setup{
        context.options,         context.strings, m_package,       {m_skipUnchanged, m_dryRun},
        plan ? &*plan : nullptr, std::nullopt,    password.secret, m_scratchFolder / "station"};
    if (m_certMake) {
        std::optional<OutcomeText> refusal;
        setup.certificate = m_certOptions.Request(context, refusal);
        if (!setup.certificate) {
            return Finish(context, kExitUsage, "refused", {}, refusal);
        }
    }
    if (m_logFile) {
        if (const std::string problem = platform::PreparePrivateFile(*m_logFile, false);
            !problem.empty()) {
            return Finish(context, kExitUsage, "refused", {},
                          OutcomeText{kCliFileUnwritable, {*m_logFile, problem}});
        }
    }
    Station station(context, setup, context.options.ports, m_logFile, m_count);
    return station.Run();
}

}  // namespace varnow::cli
