#pragma once

#include <functional>
#include <string>

#include "common/Bytes.h"
#include "common/Cleansed.h"
#include "session/Chain.h"

namespace varnow {

enum class CertificateWriteOutcome {
    Written,   // the board's first reply began with "4" or "6"
    Refused,   // it began with anything else
    Stalled,   // the text could not be written
    TimedOut,  // no reply within 3 s of the text
    NoBoard,   // the port is not open
    PortLost,
};

// "recv envc": after a 100 ms pause the block's Base64 text goes in writes of at most 1024
// bytes, then "\r\r"; the board's first non-empty reply says whether it took the block. The
// chain tells nothing itself: whoever runs it says what became of the block.
class CertificateWrite : private Chain {
public:
    using Done = std::function<void(const Outcome<CertificateWriteOutcome>&)>;

    static constexpr std::size_t kChunkSize = 1024;
    static constexpr int kMostStalls = 10;

    explicit CertificateWrite(BoardLink& link) : Chain(link) {}
    void Start(ByteView block, Done done);
    bool running() const { return static_cast<bool>(m_done); }
    // Some of the block's text went to the board: whatever the outcome, it may hold it.
    bool textSent() const { return m_textSent; }

private:
    void SendText();
    Reply OnLine(const ReplyLine& line);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(CertificateWriteOutcome outcome, std::string command = {});

    Cleansed<std::string> m_text;
    bool m_textSent = false;
    Done m_done;
};

}  // namespace varnow
