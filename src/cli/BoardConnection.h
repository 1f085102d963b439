#pragma once

#include <QElapsedTimer>
#include <fstream>
#include <memory>
#include <string>

#include "BoardAccess.h"
#include "CliHost.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "InterruptWatch.h"
#include "QtPlatform.h"
#include "link/TraceSink.h"

namespace varnow::cli {

// A board on a port as the program reaches it: the machine's serial port or the embedded
// simulated board, traced in memory (and to a file when asked); Ctrl-C interrupts the wait.
class BoardConnection : public BoardAccess, public TraceKeeper {
public:
    // `watchCtrlC`: Ctrl-C interrupts this board's command (a station watches it itself and
    // interrupts its boards with Interrupt()).
    BoardConnection(const CliOptions& options, CliOutput& output, const StringTable& strings,
                    std::string port, std::optional<std::string> password, bool watchCtrlC = true);
    ~BoardConnection() override;

    Platform& platform() override { return *m_platform; }
    BoardSession& session() override { return *m_session; }
    CliHost& host() override { return *m_host; }
    const std::string& portName() const override { return m_portName; }
    bool interrupted() const override { return m_interrupted; }
    std::optional<std::filesystem::path> KeepTrace() override;
    // Closes the port at once: the operation under way ends at its next step. Call it on the
    // thread the connection lives on.
    void Interrupt();

private:
    std::string m_portName;
    QElapsedTimer m_clock;
    std::ofstream m_traceFile;
    // The exchange's last 256 KiB, saved when the command fails; and the --trace file.
    TraceRing m_ring;
    StreamTraceSink m_fileSink{m_traceFile};
    TeeTraceSink m_trace;
    std::unique_ptr<platform::QtPlatform> m_platform;
    std::unique_ptr<CliHost> m_host;
    std::unique_ptr<BoardSession> m_session;
    bool m_interrupted = false;
    std::unique_ptr<platform::InterruptWatch> m_interrupt;
};

}  // namespace varnow::cli
