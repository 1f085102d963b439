#pragma once

#include <QElapsedTimer>
#include <fstream>
#include <memory>
#include <optional>
#include <string>

#include "BoardAccess.h"
#include "CliHost.h"
#include "CliOptions.h"
#include "CliOutput.h"
#include "QtPlatform.h"

namespace varnow::cli {

// The board the options choose, as the program reaches it: the port given, the only board
// port found, or the embedded simulated board; traced to a file when asked.
class BoardConnection : public BoardAccess {
public:
    // Nullptr, after telling the user, when there is no board port or several and none given.
    static std::unique_ptr<BoardConnection> Open(const CliOptions& options, CliOutput& output,
                                                 const StringTable& strings);
    ~BoardConnection() override;

    Platform& platform() override { return *m_platform; }
    BoardSession& session() override { return *m_session; }
    const std::string& portName() const override { return m_portName; }

private:
    BoardConnection(const CliOptions& options, CliOutput& output, const StringTable& strings);
    bool ChoosePort();
    void Start();

    const CliOptions& m_options;
    CliOutput& m_output;
    const StringTable& m_strings;
    std::string m_portName;
    QElapsedTimer m_clock;
    std::ofstream m_traceFile;
    std::unique_ptr<platform::QtPlatform> m_platform;
    std::unique_ptr<CliHost> m_host;
    std::unique_ptr<BoardSession> m_session;
};

}  // namespace varnow::cli
