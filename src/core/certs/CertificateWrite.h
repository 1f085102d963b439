#pragma once

#include <functional>
#include <string>

#include "common/Bytes.h"
#include "common/Cleansed.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"
#include "ui/Messenger.h"

namespace varnow {

enum class CertificateWriteOutcome {
    Written,   // the board's first reply began with "4" or "6"
    Refused,   // any other reply: "Has failed to save the certificate."
    Stalled,   // the text could not be written: the same message
    TimedOut,  // no reply within 3 s of the text: the same message
    NoBoard,   // the port is not open: "Open a COM port and try again."
    PortLost,
};

// "recv envc": after a pause of 100 ms, the block's Base64 text in writes of at most 1024
// bytes and "\r\r"; the board's first reply line within 3 s tells whether it took it. The
// text holds the key's primes: it is cleansed once it is out.
class CertificateWrite {
public:
    using Done = std::function<void(const Outcome<CertificateWriteOutcome>&)>;

    static constexpr std::size_t kChunkSize = 1024;
    static constexpr int kMostStalls = 10;

    CertificateWrite(BoardLink& link, Messenger& messenger);
    void Start(ByteView block, Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    void SendText();
    Reply OnLine(const ReplyLine& line);
    void Finish(CertificateWriteOutcome outcome);

    BoardLink& m_link;
    Messenger& m_messenger;
    Cleansed<std::string> m_text;
    Done m_done;
};

}  // namespace varnow
