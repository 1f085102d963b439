#include "BoardConnection.h"

#include "EmbeddedLine.h"
#include "TracingLine.h"
#include "ui/MessageIds.h"

namespace varnow::cli {

std::unique_ptr<BoardConnection> BoardConnection::Open(const CliOptions& options, CliOutput& output,
                                                       const StringTable& strings) {
    std::unique_ptr<BoardConnection> connection(new BoardConnection(options, output, strings));
    if (!connection->ChoosePort()) {
        return nullptr;
    }
    connection->Start();
    return connection;
}

BoardConnection::BoardConnection(const CliOptions& options, CliOutput& output,
                                 const StringTable& strings)
    : m_options(options), m_output(output), m_strings(strings) {
    m_clock.start();
    std::unique_ptr<platform::BoardLine> line = sim::EmbeddedLineIf(options.simulate);
    if (!line) {
        line = platform::MakeSerialLine();
    }
    if (!options.traceFile.empty()) {
        m_traceFile.open(options.traceFile, std::ios::out | std::ios::trunc);
        line = std::make_unique<TracingLine>(std::move(line), m_traceFile, [this] {
            return static_cast<double>(m_clock.elapsed()) / 1000.0;
        });
    }
    m_platform = std::make_unique<platform::QtPlatform>(std::move(line));
    if (!options.scratchFolder.empty()) {
        m_platform->SetAppDataFolder(options.scratchFolder);
    }
}

BoardConnection::~BoardConnection() {
    m_session.reset();  // closes the port before the objects under it go
}

bool BoardConnection::ChoosePort() {
    if (!m_options.port.empty()) {
        m_portName = m_options.port;
        return true;
    }
    const auto ports = m_platform->line().ListPorts();
    if (ports.size() == 1) {
        m_portName = ports.front().name;
        return true;
    }
    if (ports.empty()) {
        m_output.Message(Message{kMsgNoBoardPort,
                                 m_strings.Text(kMsgNoBoardPort, m_options.language),
                                 MessageStyle::Warning});
    } else {
        std::string names;
        for (const auto& port : ports) {
            names += "\n  " + port.name;
        }
        m_output.Message(Message{0, "Several boards were found; choose one with --port:" + names,
                                 MessageStyle::Warning});
    }
    return false;
}

void BoardConnection::Start() {
    m_host = std::make_unique<CliHost>(m_output, m_strings, m_options.language, m_portName,
                                       m_options.password);
    m_session = std::make_unique<BoardSession>(*m_platform, *m_host, m_strings, m_options.language);
}

}  // namespace varnow::cli
