#pragma once

#include <functional>

#include "session/BulkRead.h"
#include "settings/SettingsStore.h"
#include "ui/Messenger.h"

namespace varnow {

enum class SettingsReadOutcome {
    Read,
    IspMode,      // the board is in its boot loader: it has no settings to give
    NoBoard,      // the port is not open
    Undecodable,  // empty, or the block failed its checks: "Has failed to get the ..." shown
    TimedOut,     // no "411 " within 3 s: the same message
    PortLost,
};

// "send envs": the board's settings (environment) block as Base64 lines up to "411 ", decoded
// and checked with every checksum: only a block read whole and sound is ever handed on.
class SettingsRead {
public:
    using Done = std::function<void(const Outcome<SettingsReadOutcome>&, EnvironmentData)>;

    SettingsRead(BoardLink& link, Messenger& messenger)
        : m_link(link), m_messenger(messenger), m_read(link) {}
    void Start(Done done);
    bool running() const { return m_read.running(); }

private:
    BoardLink& m_link;
    Messenger& m_messenger;
    BulkRead m_read;
};

}  // namespace varnow
