#include "EmbeddedLine.h"

namespace varnow::sim {

std::vector<PortInfo> EmbeddedLine::ListPorts() {
    return {{EmbeddedBoard::kPortName, "simulated board (embedded)", true, "simulated"}};
}

void EmbeddedLine::SetNotifiers(Notifiers notifiers) {
    m_board.port().SetArrivalNotifier(std::move(notifiers.arrived));
    m_board.port().SetPlugNotifier(std::move(notifiers.deviceChanged));
    m_board.port().SetFailureNotifier(std::move(notifiers.portFailed));
}

}  // namespace varnow::sim
