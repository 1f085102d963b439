#pragma once

#include <functional>
#include <optional>

#include "connect/ConnectOutcome.h"
#include "link/Platform.h"
#include "session/SessionRecord.h"

namespace varnow {

// Waits for a board that restarts (after a firmware upgrade, a settings reboot or a password
// change) to be found again and connected: by the device notifications, and by probing its
// port's path every 500 ms, so that a board on any path comes back. Gives up after 30 s.
// The port counts as back only once it has been seen gone (or 2 s have passed without that:
// a restart quicker than the probes), so that the port of a board still on its way down,
// found through another board's arrival, is not taken for the board back.
class BoardReturn {
public:
    using Returned = std::function<void(const std::optional<ConnectResult>&)>;

    static constexpr int kProbeMs = 500;
    static constexpr int kLimitMs = 30000;
    static constexpr int kDepartureGraceMs = 2000;

    // `lookForBoard` connects when the board's port is back; `portBack` tells whether it is.
    BoardReturn(Platform& platform, SessionRecord& session, std::function<void()> lookForBoard,
                std::function<bool()> portBack);

    // Until the board is connected again.
    void Await(Returned returned);
    // Until the board's port is back, without connecting.
    void AwaitPort(std::function<void(bool back)> returned);
    bool awaiting() const { return static_cast<bool>(m_returned) || static_cast<bool>(m_portBack); }
    // Every connect's end; while awaiting, the first one is the board's return.
    void OnConnectEnded(const ConnectResult& result);
    // Gives up waiting; nobody hears of it.
    void Stop();

private:
    void Begin();
    // A probe's tick: notes the port gone; true once the board may be looked for.
    bool Departed();
    void Deliver(const std::optional<ConnectResult>& result);

    Platform& m_platform;
    SessionRecord& m_session;
    int m_ticks = 0;
    std::function<void()> m_lookForBoard;
    std::function<bool()> m_isPortBack;
    Returned m_returned;
    std::function<void(bool)> m_portBack;
};

}  // namespace varnow
