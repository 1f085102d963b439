#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "BoardAccess.h"
#include "CliHost.h"
#include "SimBoard.h"
#include "SimulatedPort.h"
#include "VirtualEventLoop.h"
#include "VirtualPlatform.h"

namespace varnow::testing {

// A board command's world in a test: a simulated board on a virtual clock, reached through
// the command line's own host.
class VirtualBoardAccess : public cli::BoardAccess {
public:
    static constexpr const char* kPort = "/dev/ttyACM7";

    VirtualBoardAccess(cli::CliOutput& output, const StringTable& strings,
                       std::optional<std::string> password, std::filesystem::path appData)
        : m_board({}, m_loop),
          m_port(m_board, kPort),
          m_platform(m_loop, m_port, std::move(appData)),
          m_host(output, strings, Language::English, kPort, std::move(password)),
          m_session(m_platform, m_host, strings, Language::English) {}
    ~VirtualBoardAccess() override {
        if (m_endedAt) {
            *m_endedAt = m_loop.NowMs();
        }
        if (m_atEnd) {
            m_atEnd(*this);
        }
    }

    // What to look at once the command has let the board go.
    void AtEnd(std::function<void(VirtualBoardAccess&)> atEnd) { m_atEnd = std::move(atEnd); }

    // Where to note the virtual time at which the command let the board go.
    void NoteEndIn(std::uint64_t* endedAt) { m_endedAt = endedAt; }

    Platform& platform() override { return m_platform; }
    BoardSession& session() override { return m_session; }
    cli::CliHost& host() override { return m_host; }
    const std::string& portName() const override { return m_portName; }
    bool interrupted() const override { return m_interrupted; }

    // The user presses Ctrl-C `ms` from now.
    void InterruptAfter(std::uint64_t ms) {
        m_loop.After(ms, [this] {
            m_interrupted = true;
            m_session.Abort();
        });
    }

    sim::VirtualEventLoop& loop() { return m_loop; }
    sim::SimBoard& board() { return m_board; }
    sim::SimulatedPort& port() { return m_port; }
    sim::VirtualPlatform& virtualPlatform() { return m_platform; }

private:
    sim::VirtualEventLoop m_loop;
    sim::SimBoard m_board;
    sim::SimulatedPort m_port;
    sim::VirtualPlatform m_platform;
    cli::CliHost m_host;
    BoardSession m_session;
    std::string m_portName = kPort;
    std::uint64_t* m_endedAt = nullptr;
    std::function<void(VirtualBoardAccess&)> m_atEnd;
    bool m_interrupted = false;
};

}  // namespace varnow::testing
