#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "SimBoard.h"
#include "SimulatedPort.h"
#include "VirtualEventLoop.h"
#include "VirtualPlatform.h"
#include "app/BoardSession.h"
#include "support/ScriptedHost.h"
#include "ui/StringTable.h"

namespace varnow::testing {

inline constexpr const char* kBoardPort = "/dev/ttyACM0";

// A session connected by a simulated cable to a simulated board, all on one virtual clock.
class BoardFixture : public ::testing::Test {
protected:
    explicit BoardFixture(sim::BoardConfig config = {})
        : board(std::move(config), loop),
          port(board, kBoardPort),
          platform(loop, port),
          host(loop),
          session(platform, host, strings, Language::English) {
        host.SelectPort(kBoardPort);
    }

    // Runs an operation on the session and the world until it has ended (its end is checked).
    template <typename Op, typename... Args>
    std::shared_ptr<Op> Run(Args&&... args) {
        auto operation = std::make_shared<Op>(session, std::forward<Args>(args)...);
        bool ended = false;
        EXPECT_TRUE(session.Run(operation, [&ended] { ended = true; }));
        loop.RunUntil([&ended] { return ended; });
        EXPECT_TRUE(ended) << "the operation never ended";
        return operation;
    }
    // The next case of a table starts afresh: no messages, the port closed, the board
    // restarted without faults.
    void StartAfresh() {
        host.Reset();
        session.Disconnect();
        board.Restart();
        board.faults() = {};
    }
    // Lets replies still on their way land (the answer to a restart of the board's script).
    void Settle() { loop.RunFor(100); }
    ConnectResult Connect() { return Run<ConnectOperation>(kBoardPort)->result().outcome; }

    // The board goes silent (not even its echo comes back) once the tool writes `command`;
    // silencedAt() tells when that was.
    void SilenceBoardWhenSent(std::string command) {
        m_silencedAt.reset();
        port.SetWriteTap([this, command = std::move(command)](ByteView bytes) {
            if (!m_silencedAt && AsText(bytes).find(command) != std::string::npos) {
                m_silencedAt = loop.NowMs();
                board.faults().silent = true;
            }
        });
    }
    std::optional<std::uint64_t> silencedAt() const { return m_silencedAt; }

    // The bytes the tool wrote, in order, as one string.
    const std::string& written() const { return port.written(); }

    sim::VirtualEventLoop loop;
    sim::SimBoard board;
    sim::SimulatedPort port;
    sim::VirtualPlatform platform;
    ScriptedHost host;
    StringTable strings = StringTable::BuiltIn();
    BoardSession session;

private:
    std::optional<std::uint64_t> m_silencedAt;
};

}  // namespace varnow::testing
