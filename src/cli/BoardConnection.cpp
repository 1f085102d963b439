#include "BoardConnection.h"

#include "BoardLines.h"
#include "TraceFile.h"
#include "link/TracingLine.h"

namespace varnow::cli {

BoardConnection::BoardConnection(const CliOptions& options, CliOutput& output,
                                 const StringTable& strings, std::string port,
                                 std::optional<std::string> password, bool watchCtrlC)
    : m_portName(std::move(port)) {
    if (watchCtrlC) {
        m_interrupt = std::make_unique<platform::InterruptWatch>([this] { Interrupt(); });
    }
    m_clock.start();
    // The exchange is always traced in memory; to a file as well with --trace.
    m_trace.Add(m_ring);
    if (!options.traceFile.empty()) {
        m_traceFile.open(options.traceFile, std::ios::out | std::ios::app);
        m_trace.Add(m_fileSink);
    }
    std::unique_ptr<BoardLine> line = std::make_unique<TracingLine>(
        app::BoardLineFor(options.simulate), m_trace,
        [this] { return static_cast<double>(m_clock.elapsed()) / 1000.0; });
    m_platform = std::make_unique<platform::QtPlatform>(std::move(line));
    m_host = std::make_unique<CliHost>(output, strings, options.language, m_portName,
                                       std::move(password));
    m_host->OnPromptInterrupted([this] { Interrupt(); });
    m_session = std::make_unique<BoardSession>(*m_platform, *m_host, strings, options.language);
    m_session->SetTraceKeeper(this);
    if (!options.scratchFolder.empty()) {
        m_session->SetExtractionFolder(options.scratchFolder);
    }
}

void BoardConnection::Interrupt() {
    // The port closes at once: a transfer under way stops at its next block.
    m_interrupted = true;
    m_session->Abort();
    m_platform->Wake();
}

std::optional<std::filesystem::path> BoardConnection::KeepTrace() {
    // Only an exchange is worth keeping: a port that never opened has none.
    const std::string text = m_ring.Text();
    if (text.find(" > ") == std::string::npos && text.find(" < ") == std::string::npos) {
        return std::nullopt;
    }
    return SaveTrace(m_platform->Files(), m_session->dataFolder(), m_portName, text);
}

BoardConnection::~BoardConnection() {
    m_session.reset();  // closes the port before the objects under it go
}

}  // namespace varnow::cli
