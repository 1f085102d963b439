#include "StationJob.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <sstream>

#include "BoardConnection.h"
#include "BoardRun.h"
#include "SettingsRun.h"
#include "UploadRun.h"

namespace varnow::cli {
namespace {

// The last JSON event of a kind in a job's output.
QJsonObject LastEvent(const std::string& output, const char* kind) {
    std::istringstream lines(output);
    QJsonObject last;
    for (std::string line; std::getline(lines, line);) {
        const QJsonObject event = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
        if (event.value("event").toString() == kind) {
            last = event;
        }
    }
    return last;
}

std::string Field(const CliOutput::Fields& fields, const std::string& name) {
    for (auto it = fields.rbegin(); it != fields.rend(); ++it) {
        if (it->first == name) {
            return it->second.toString().toStdString();
        }
    }
    return {};
}

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

bool StationJob::StepEnded(const char* step, int status, const std::string& output) {
    if (status == kExitSuccess) {
        return true;
    }
    m_report.status = status;
    m_report.failedStep = step;
    m_report.result = status == kExitInterrupted ? "interrupted" : "failed";
    m_report.error = LastEvent(output, "error").value("text").toString().toStdString();
    m_report.trace = LastEvent(output, "result").value("trace").toString().toStdString();
    return false;
}

BoardReport StationJob::Run() {
    QElapsedTimer clock;
    clock.start();
    std::ostringstream out;
    std::ostringstream err;
    CliOutput output(out, err, true, false);
    CliOptions options = m_setup.options;
    options.port = m_report.port;
    options.traceFile.clear();
    options.scratchFolder = (m_setup.scratchFolder / FolderFor(m_report.port)).string();
    std::filesystem::create_directories(options.scratchFolder);
    BoardConnection board(options, output, m_setup.strings, m_report.port, false);
    QObject control;
    {
        const std::lock_guard lock(m_mutex);
        m_control = &control;
        m_interrupt = [&board] { board.Interrupt(); };
        if (m_interrupted) {
            board.Interrupt();
        }
    }
    CommandContext context{options, output, m_setup.strings, nullptr, nullptr};
    context.board = &board;
    CliOutput::Fields fields;
    m_report.result = "ok";
    const auto ended = [&] {
        const std::lock_guard lock(m_mutex);
        m_control = nullptr;
        m_report.seconds = static_cast<double>(clock.elapsed()) / 1000.0;
        return m_report;
    };

    const std::optional<ConnectResult> connected = ConnectBoard(board);
    const int connectStatus =
        !connected ? FinishInterrupted(context, board, kCliInterrupted, fields)
        : connected->code != ConnectOutcome::Identified
            ? Finish(context, StatusOfConnect(connected->code), OutcomeName(connected->code),
                     fields, DescribeConnect(*connected, board.portName()))
            : kExitSuccess;
    m_report.mcuId = board.session().session().mcuId;
    m_report.fibId = board.session().session().fibId;
    if (!StepEnded("connect", connectStatus, out.str())) {
        return ended();
    }

    LoadedPackage package;
    package.SetPackagePath(m_setup.package);
    const int uploaded = WritePackageTo(context, board, package, m_setup.upload, fields);
    m_report.upload = Field(fields, "upload");
    m_report.imageHash = Field(fields, "image_hash");
    m_report.firmware = Field(fields, "firmware");
    if (!StepEnded("upload", uploaded, out.str())) {
        return ended();
    }
    if (m_report.upload == "unchanged" || m_report.upload == "dry-run") {
        m_report.result = m_report.upload;
    }

    if (m_setup.plan != nullptr) {
        const std::optional<SettingPairs> row = m_setup.plan->RowFor(m_report.mcuId);
        const int written =
            row ? ApplySettings(context, board, *row, {m_setup.upload.dryRun, false}, fields)
                : Finish(context, kExitSettingsRefused, "no-row", fields,
                         OutcomeText{kCliNoSettingsRow, {m_report.mcuId}});
        if (!StepEnded("settings", written, out.str())) {
            return ended();
        }
        for (const auto& [key, value] : *row) {
            m_report.settings.push_back(key);
        }
    }

    if (m_setup.certificate) {
        const int stored = MakeAndStoreCertificate(context, board, *m_setup.certificate, fields);
        m_report.certificateSubject = Field(fields, "subject");
        m_report.certificateSha256 = Field(fields, "sha256");
        if (!StepEnded("certificate", stored, out.str())) {
            return ended();
        }
    }
    return ended();
}

}  // namespace varnow::cli
