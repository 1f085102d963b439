#include "BoardConnection.h"

#include <QEventLoop>
#include <QTimer>

#include "PortDiscovery.h"
#include "ui/MessageIds.h"
#include "ui/Messenger.h"

namespace varnow::cli {
namespace {
constexpr int kConnectTimeoutMs = 120000;
}  // namespace

BoardConnection::BoardConnection(const CliOptions& options, CliOutput& output,
                                 const StringTable& strings)
    : m_options(options), m_output(output), m_strings(strings) {
    m_clock.start();
}

BoardConnection::~BoardConnection() {
    m_hotPlug.reset();
    m_writer.reset();  // closes the port before the objects under it go
}

bool BoardConnection::ChoosePort() {
    if (m_options.simulate) {
        m_portName = sim::EmbeddedBoard::kPortName;
        return true;
    }
    if (!m_options.port.empty()) {
        m_portName = m_options.port;
        return true;
    }
    const auto ports = platform::DiscoverBoardPorts();
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

ConnectOutcome BoardConnection::Connect() {
    m_boardPort = std::make_unique<sim::BoardPort>(m_options.simulate);
    SerialPort* port = &m_boardPort->port();
    if (!m_options.traceFile.empty()) {
        m_traceFile.open(m_options.traceFile, std::ios::out | std::ios::trunc);
        m_tracing = std::make_unique<TracingSerialPort>(
            *port, m_traceFile, [this] { return static_cast<double>(m_clock.elapsed()) / 1000.0; });
        port = m_tracing.get();
    }
    m_platform = std::make_unique<platform::QtPlatform>(
        *port, [this](const std::string& name) { return m_boardPort->Probe(name); });
    if (!m_options.scratchFolder.empty()) {
        m_platform->SetAppDataFolder(m_options.scratchFolder);
    }
    m_boardPort->Attach(*m_platform);
    m_host = std::make_unique<CliHost>(m_output, m_strings, m_options.language, m_portName,
                                       m_options.password);
    m_writer = std::make_unique<Writer>(*m_platform, *m_host, m_strings, m_options.language);
    // The board's port vanishing and coming back, as when it restarts into its boot loader.
    if (m_boardPort->embedded() == nullptr) {
        m_hotPlug = std::make_unique<platform::HotPlugMonitor>();
        m_hotPlug->SetHandlers([this] { m_writer->OnDeviceArrival(); },
                               [this] { m_writer->OnDeviceRemoval(); });
    }
    RunChain([this] { m_writer->Connect(); },
             [this] { return m_writer->connectOutcome() != ConnectOutcome::None; },
             kConnectTimeoutMs);
    return m_writer->connectOutcome();
}

bool BoardConnection::RunChain(const std::function<void()>& start,
                               const std::function<bool()>& ended, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    bool timedOut = false;
    auto over = [&] {
        timedOut = timedOut || clock.elapsed() > timeoutMs;
        return timedOut || ended();
    };
    m_host->SetChainEnded(over);
    start();
    if (!over()) {
        QEventLoop loop;
        QTimer check;
        QObject::connect(&check, &QTimer::timeout, [&] {
            if (over()) {
                loop.quit();
            }
        });
        check.start(20);
        loop.exec();
    }
    m_host->SetChainEnded({});
    return !timedOut;
}

}  // namespace varnow::cli
