#pragma once

#include <functional>

#include "package/RecordNames.h"
#include "session/BulkRead.h"
#include "ui/Messenger.h"

namespace varnow {

enum class TailOutcome {
    Read,
    NoBoard,   // the port is not open
    TimedOut,  // no "411 " within a second: message, disconnected when a dialog was shown
    PortLost,
};

// "send tail": the tail block of the board's firmware, which names the firmware.
class TailBlockRead {
public:
    using Done = std::function<void(const Outcome<TailOutcome>&, const FirmwareNameResult&)>;

    TailBlockRead(BoardLink& link, Messenger& messenger)
        : m_link(link), m_messenger(messenger), m_read(link) {}
    void Start(Done done);

private:
    BoardLink& m_link;
    Messenger& m_messenger;
    BulkRead m_read;
};

}  // namespace varnow
