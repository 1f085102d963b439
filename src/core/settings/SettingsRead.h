#pragma once

#include <functional>
#include <utility>

#include "link/BulkReply.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"
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
// and checked with every checksum.
class SettingsRead {
public:
    using Done = std::function<void(const Outcome<SettingsReadOutcome>&, EnvironmentData)>;

    SettingsRead(BoardLink& link, Messenger& messenger);
    void Start(Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    Reply OnLine(const ReplyLine& line);
    void Finish(SettingsReadOutcome outcome, EnvironmentData data = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    BulkReply m_text;
    Done m_done;
};

}  // namespace varnow
