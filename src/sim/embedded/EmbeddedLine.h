#pragma once

#include <memory>

#include "EmbeddedBoard.h"
#include "link/BoardLine.h"

namespace varnow::sim {

// A simulated board inside the program as the board line: its port is the only board port,
// and its restarts take the port away and bring it back.
class EmbeddedLine : public BoardLine {
public:
    EmbeddedLine() = default;

    SerialPort& Port() override { return m_board.port(); }
    PortProbe Probe(const std::string& name) override { return m_board.port().Probe(name); }
    std::vector<PortInfo> ListPorts() override;
    void SetNotifiers(Notifiers notifiers) override;

    EmbeddedBoard& board() { return m_board; }

private:
    EmbeddedBoard m_board;
};

}  // namespace varnow::sim
