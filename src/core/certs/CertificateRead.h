#pragma once

#include <functional>

#include "certs/CertificateBlock.h"
#include "link/BulkReply.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"
#include "ui/Messenger.h"

namespace varnow {

enum class CertificateReadOutcome {
    Read,      // the board sent its block (the store tells whether it held one)
    NoBlock,   // "501 ", nothing sent, or a text too large for the block's buffer
    TimedOut,  // no "411" within 1 s
    NoBoard,   // the port is not open: "Open a COM port and try again."
    PortLost,
};

// "send envc": the board's certificate block as Base64 lines up to "411", into the record
// store. Every way it ends leaves a store: an empty one when no block came.
class CertificateRead {
public:
    using Done =
        std::function<void(const Outcome<CertificateReadOutcome>&, CertificateRecordStore)>;

    CertificateRead(BoardLink& link, Messenger& messenger);
    void Start(Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    Reply OnLine(const ReplyLine& line);
    void Finish(CertificateReadOutcome outcome, CertificateRecordStore store = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    BulkReply m_text;
    bool m_overflow = false;
    Done m_done;
};

}  // namespace varnow
