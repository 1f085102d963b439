#include "app/BoardReturn.h"

#include <utility>

#include "link/CommandStates.h"

namespace varnow {

BoardReturn::BoardReturn(Platform& platform, SessionRecord& session,
                         std::function<void()> lookForBoard, std::function<void()> release)
    : m_platform(platform),
      m_session(session),
      m_lookForBoard(std::move(lookForBoard)),
      m_release(std::move(release)) {}

void BoardReturn::Begin() {
    m_session.restarting = true;
    m_session.otherMcuSeen.clear();
    m_session.otherPortSeen.clear();
    m_ticks = 0;
    m_expectedMcu = m_session.mcuId;
    m_watch.Begin(m_platform, m_session.portName);
}

bool BoardReturn::Departed() {
    ++m_ticks;
    const bool leftPresent = m_watch.Look(m_platform, !m_session.restarting);
    if (m_session.restarting &&
        (m_watch.left().name.empty() || !leftPresent || m_ticks * kProbeMs >= kDepartureGraceMs)) {
        m_session.restarting = false;
        // Once its path has been seen gone (here or by a device notification), or the grace
        // has passed (a restart quicker than the probes), the path there again is the board.
        m_watch.Look(m_platform, true);
    }
    return !m_session.restarting;
}

bool BoardReturn::FindPort() {
    if (auto port = m_watch.FreePort(m_platform)) {
        m_session.portName = *port;
        m_session.cameBackOn = *port == m_watch.left().name ? std::string() : *port;
        return true;
    }
    return false;
}

void BoardReturn::Look() {
    if (!Departed()) {
        return;
    }
    if (m_returned) {
        if (FindPort()) {
            m_lookForBoard();
        }
    } else if (m_portBack && FindPort()) {
        auto back = std::exchange(m_portBack, nullptr);
        Stop();
        back(true);
    }
}

void BoardReturn::Await(Returned returned) {
    m_returned = std::move(returned);
    Begin();
    m_platform.ArmTimer(kTimerReturnProbe, kProbeMs, [this] { Look(); });
    m_platform.ArmTimer(kTimerBoardReturn, kLimitMs, [this] { Deliver(std::nullopt); });
}

void BoardReturn::AwaitPort(std::function<void(bool back)> returned) {
    m_portBack = std::move(returned);
    Begin();
    m_platform.ArmTimer(kTimerReturnProbe, kProbeMs, [this] { Look(); });
    m_platform.ArmTimer(kTimerBoardReturn, kLimitMs, [this] {
        auto back = std::exchange(m_portBack, nullptr);
        Stop();
        back(false);
    });
}

void BoardReturn::OnDeviceArrival() {
    if (awaiting()) {
        Look();
    }
}

void BoardReturn::OnConnectEnded(const ConnectResult& result) {
    // A port that vanished again was caught while the board was still restarting.
    if (!m_returned || result.code == ConnectOutcome::PortLost) {
        return;
    }
    const bool otherBoard = result.code == ConnectOutcome::Identified && !m_expectedMcu.empty() &&
                            m_session.mcuId != m_expectedMcu;
    if (otherBoard) {
        // Another board answered where this one might have been: let it go, look on.
        m_session.otherMcuSeen = m_session.mcuId;
        m_session.otherPortSeen = m_session.portName;
        m_watch.Exclude(m_session.portName);
        m_release();
        m_session.mcuId = m_expectedMcu;
        m_session.portName = m_watch.left().name;
        return;
    }
    Deliver(result);
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
