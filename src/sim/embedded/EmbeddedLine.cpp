#include "EmbeddedLine.h"

namespace varnow::sim {

std::vector<platform::DiscoveredPort> EmbeddedLine::ListPorts() {
    return {{EmbeddedBoard::kPortName, "simulated board (embedded)", true, "simulated"}};
}

void EmbeddedLine::SetNotifiers(std::function<void()> arrived,
                                std::function<void(bool)> deviceChanged) {
    m_board.port().SetArrivalNotifier(std::move(arrived));
    m_board.port().SetPlugNotifier(std::move(deviceChanged));
}

}  // namespace varnow::sim
