#include "BoardConnection.h"

#include "EmbeddedLine.h"
#include "TraceFile.h"
#include "TracingLine.h"

namespace varnow::cli {

std::unique_ptr<platform::BoardLine> BoardConnection::LineFor(const CliOptions& options) {
    std::unique_ptr<platform::BoardLine> line = sim::EmbeddedLineIf(options.simulate);
    return line ? std::move(line) : platform::MakeSerialLine();
}

BoardConnection::BoardConnection(const CliOptions& options, CliOutput& output,
                                 const StringTable& strings, std::string port, bool watchCtrlC)
    : m_portName(std::move(port)) {
    if (watchCtrlC) {
        m_interrupt = std::make_unique<platform::InterruptWatch>([this] { Interrupt(); });
    }
    m_clock.start();
    // The exchange is always traced in memory; to a file as well with --trace.
    m_trace.Add(m_ring);
    if (!options.traceFile.empty()) {
        m_traceFile.open(options.traceFile, std::ios::out | std::ios::trunc);
        m_trace.Add(m_fileSink);
    }
    std::unique_ptr<platform::BoardLine> line = std::make_unique<TracingLine>(
        LineFor(options), m_trace,
        [this] { return static_cast<double>(m_clock.elapsed()) / 1000.0; });
    m_platform = std::make_unique<platform::QtPlatform>(std::move(line));
    m_host =
        std::make_unique<CliHost>(output, strings, options.language, m_portName, options.password);
    m_session = std::make_unique<BoardSession>(*m_platform, *m_host, strings, options.language);
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
    if (m_ring.empty()) {
        return std::nullopt;
    }
    return SaveTrace(m_platform->AppDataFolder(), m_portName, m_ring.Text());
}

BoardConnection::~BoardConnection() {
    m_session.reset();  // closes the port before the objects under it go
}

}  // namespace varnow::cli
