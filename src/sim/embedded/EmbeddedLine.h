#pragma once

#include <memory>

#include "BoardLine.h"
#include "EmbeddedBoard.h"

namespace varnow::sim {

// A simulated board inside the program as the board line: its port is the only board port,
// and its restarts take the port away and bring it back.
class EmbeddedLine : public platform::BoardLine {
public:
    EmbeddedLine() = default;

    SerialPort& Port() override { return m_board.port(); }
    PortProbe Probe(const std::string& name) override { return m_board.port().Probe(name); }
    std::vector<platform::DiscoveredPort> ListPorts() override;
    void SetNotifiers(std::function<void()> arrived,
                      std::function<void(bool)> deviceChanged) override;

    EmbeddedBoard& board() { return m_board; }

private:
    EmbeddedBoard m_board;
};

// The one place where a program picks the embedded board instead of the machine's ports.
inline std::unique_ptr<platform::BoardLine> EmbeddedLineIf(bool simulate) {
    return simulate ? std::make_unique<EmbeddedLine>() : nullptr;
}

}  // namespace varnow::sim
