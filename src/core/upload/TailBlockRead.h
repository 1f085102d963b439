#pragma once

#include <functional>
#include <utility>

#include "link/BulkReply.h"
#include "package/RecordNames.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"
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

    TailBlockRead(BoardLink& link, Messenger& messenger);
    void Start(Done done);

private:
    Reply OnLine(const ReplyLine& line);
    void Finish(TailOutcome outcome, const FirmwareNameResult& name = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    BulkReply m_text;
    Done m_done;
};

}  // namespace varnow
