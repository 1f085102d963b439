#include "app/BoardReturn.h"

#include <utility>

#include "link/CommandStates.h"

namespace varnow {

BoardReturn::BoardReturn(Platform& platform, SessionRecord& session,
                         std::function<void()> lookForBoard, std::function<bool()> portBack)
    : m_platform(platform),
      m_session(session),
      m_lookForBoard(std::move(lookForBoard)),
      m_isPortBack(std::move(portBack)) {}

void BoardReturn::Begin() {
    m_session.restarting = true;
    m_ticks = 0;
}

bool BoardReturn::Departed() {
    ++m_ticks;
    const std::string& port = m_session.portName;
    if (m_session.restarting && (port.empty() || m_platform.ProbePort(port) == PortProbe::Absent ||
                                 m_ticks * kProbeMs >= kDepartureGraceMs)) {
        m_session.restarting = false;
    }
    return !m_session.restarting;
}

void BoardReturn::Await(Returned returned) {
    m_returned = std::move(returned);
    Begin();
    m_platform.ArmTimer(kTimerReturnProbe, kProbeMs, [this] {
        if (Departed()) {
            m_lookForBoard();
        }
    });
    m_platform.ArmTimer(kTimerBoardReturn, kLimitMs, [this] { Deliver(std::nullopt); });
}

void BoardReturn::AwaitPort(std::function<void(bool back)> returned) {
    m_portBack = std::move(returned);
    Begin();
    m_platform.ArmTimer(kTimerReturnProbe, kProbeMs, [this] {
        if (Departed() && m_isPortBack()) {
            auto back = std::exchange(m_portBack, nullptr);
            Stop();
            back(true);
        }
    });
    m_platform.ArmTimer(kTimerBoardReturn, kLimitMs, [this] {
        auto back = std::exchange(m_portBack, nullptr);
        Stop();
        back(false);
    });
}

void BoardReturn::OnConnectEnded(const ConnectResult& result) {
    // A port that vanished again was caught while the board was still restarting.
    if (m_returned && result.code != ConnectOutcome::PortLost) {
        Deliver(result);
    }
}

void BoardReturn::Stop() {
    m_returned = nullptr;
    m_portBack = nullptr;
    m_session.restarting = false;
    m_platform.CancelTimer(kTimerReturnProbe);
    m_platform.CancelTimer(kTimerBoardReturn);
}

void BoardReturn::Deliver(const std::optional<ConnectResult>& result) {
    Returned returned = std::exchange(m_returned, nullptr);
    Stop();
    if (returned) {
        returned(result);
    }
}

}  // namespace varnow
