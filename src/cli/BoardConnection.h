#pragma once

#include <QElapsedTimer>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "BoardPort.h"
#include "CliHost.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "HotPlugMonitor.h"
#include "QtPlatform.h"
#include "link/TracingSerialPort.h"
#include "session/Writer.h"

namespace varnow::cli {

// Everything a board command needs: the port (the board's, or an embedded simulated board),
// an optional trace of it, the platform, the host and the writer.
class BoardConnection {
public:
    BoardConnection(const CliOptions& options, CliOutput& output, const StringTable& strings);
    ~BoardConnection();

    // The port to use: --simulate, --port, or the only board port found. Tells the user and
    // returns false when there is none or more than one.
    bool ChoosePort();
    // Runs Connect and waits until it has ended, a login included.
    ConnectOutcome Connect();
    // Starts a chain and runs the event loop until `ended` holds or `timeoutMs` have passed;
    // an open dialog is then closed as its user would. False on the time-out.
    bool RunChain(const std::function<void()>& start, const std::function<bool()>& ended,
                  int timeoutMs);

    Writer& writer() { return *m_writer; }
    const std::string& portName() const { return m_portName; }
    sim::EmbeddedBoard* embeddedBoard() { return m_boardPort ? m_boardPort->embedded() : nullptr; }

private:
    const CliOptions& m_options;
    CliOutput& m_output;
    const StringTable& m_strings;
    std::string m_portName;
    QElapsedTimer m_clock;
    std::unique_ptr<sim::BoardPort> m_boardPort;
    std::ofstream m_traceFile;
    std::unique_ptr<TracingSerialPort> m_tracing;
    std::unique_ptr<platform::QtPlatform> m_platform;
    std::unique_ptr<CliHost> m_host;
    std::unique_ptr<Writer> m_writer;
    std::unique_ptr<platform::HotPlugMonitor> m_hotPlug;
};

}  // namespace varnow::cli
