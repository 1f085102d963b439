#pragma once

#include <functional>
#include <optional>
#include <string>

#include "connect/ConnectOutcome.h"
#include "link/Platform.h"
#include "link/ReturnWatch.h"
#include "session/SessionRecord.h"

namespace varnow {

// Waits for a board that restarts (after a firmware upgrade, a settings reboot or a password
// change) to be found again and connected, wherever its port comes back: on its own path, on a
// port with its USB serial number or on its hub port, or on a port that appeared while it was
// away. The ports are looked at on device notifications and every 500 ms; it gives up after
// 30 s. Its own path counts as back only once it has been seen gone (or 2 s have passed
// without that: a restart quicker than the probes), so that the port of a board still on its
// way down is not taken for the board back. A board that answers with another MCU id than the
// one that left is let go, and the wait goes on elsewhere.
class BoardReturn {
public:
    using Returned = std::function<void(const std::optional<ConnectResult>&)>;

    static constexpr int kProbeMs = 500;
    static constexpr int kLimitMs = 30000;
    static constexpr int kDepartureGraceMs = 2000;

    // `lookForBoard` connects to the session's port when it is back; `release` closes the
    // port of a board that turned out to be another one.
    BoardReturn(Platform& platform, SessionRecord& session, std::function<void()> lookForBoard,
                std::function<void()> release);

    // Until the board is connected again.
    void Await(Returned returned);
    // Until the board's port is back, without connecting.
    void AwaitPort(std::function<void(bool back)> returned);
    bool awaiting() const { return static_cast<bool>(m_returned) || static_cast<bool>(m_portBack); }
    // Every connect's end; while awaiting, the first one to the board is its return.
    void OnConnectEnded(const ConnectResult& result);
    // A device came: looks for the board at once instead of at the next probe.
    void OnDeviceArrival();
    // Gives up waiting; nobody hears of it.
    void Stop();

private:
    void Begin();
    // A probe's tick: notes ports gone and come; true once the board may be looked for.
    bool Departed();
    // Points the session at the first free port the board may be on; false when there is none.
    bool FindPort();
    void Look();
    void Deliver(const std::optional<ConnectResult>& result);

    Platform& m_platform;
    SessionRecord& m_session;
    int m_ticks = 0;
    std::function<void()> m_lookForBoard;
    std::function<void()> m_release;
    ReturnWatch m_watch;
    std::string m_expectedMcu;  // the MCU id of the board that left
    Returned m_returned;
    std::function<void(bool)> m_portBack;
};

}  // namespace varnow
