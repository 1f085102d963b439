#pragma once

#include <functional>
#include <set>
#include <string>

#include "link/CommandChannel.h"
#include "link/Platform.h"
#include "session/SessionRecord.h"
#include "ui/Host.h"
#include "ui/Messenger.h"
#include "ui/Progress.h"

namespace varnow {

enum class PortOpening { Opened, OpenFailed, SetupFailed };

struct PortOpenResult {
    PortOpening opening = PortOpening::Opened;
    int error = 0;       // the serial error number
    std::string reason;  // the operating system's words, when it gave any
};

// The link to one board: its port, the command channel, what the tool knows of the board, and
// the progress dialog that the channel's failure paths close.
class BoardLink {
public:
    BoardLink(Platform& platform, ConnectionView& view, ProgressView& progressView);
    BoardLink(const BoardLink&) = delete;
    BoardLink& operator=(const BoardLink&) = delete;

    Platform& platform() { return m_platform; }
    SerialPort& port() { return m_platform.Port(); }
    bool portOpen() { return m_platform.Port().IsOpen(); }
    // The port is closed, or its device has gone (a write failed because the cable went
    // before the system told the tool).
    bool portGone() {
        return !portOpen() || m_platform.ProbePort(m_session.portName) == PortProbe::Absent;
    }
    CommandChannel& channel() { return m_channel; }
    SessionRecord& session() { return m_session; }
    const SessionRecord& session() const { return m_session; }
    Progress& progress() { return m_progress; }
    ConnectionView& view() { return m_view; }

    // Opens the port, sets it up for the board and arms its events, telling the user what
    // failed (the port is closed again then).
    PortOpenResult OpenBoardPort(const std::string& name, Messenger& messenger);
    // Controls to the disconnected look and the port closed; the channel and the session
    // record stay as they are.
    void Disconnect();
    // When a progress dialog is shown: closes it and disconnects.
    void CancelProgressAndDisconnect();

    // The timers of the chains (pauses, probes, waits), armed through the link so that an
    // abort cancels every one of them. `After` runs its action once; `Every` until cancelled.
    void After(int id, int milliseconds, std::function<void()> action);
    void Every(int id, int milliseconds, std::function<void()> action);
    void CancelTimer(int id);
    // Ends whatever is under way on the link: the outstanding command and every chain timer;
    // nothing more is written and nothing more is heard.
    void Quiet();

private:
    Platform& m_platform;
    ConnectionView& m_view;
    CommandChannel m_channel;
    SessionRecord m_session;
    Progress m_progress;
    std::set<int> m_timers;
};

}  // namespace varnow
