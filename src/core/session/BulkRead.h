#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "common/Bytes.h"
#include "session/Chain.h"

namespace varnow {

enum class BulkOutcome {
    Read,      // the reply ended with its "411 " line
    Refused,   // it ended with "501 " (where the command may say so)
    Overflow,  // more text came than the block can hold: refused, not cut
    TimedOut,
    PortLost,
};

// How one bulk command reads.
struct BulkRequest {
    std::string command;  // with its CR
    int state = 0;
    ReplyTimer timer{};
    std::size_t capacity = 0;   // of the gathered text
    bool refusable = false;     // "501 " ends the reply as refused, instead of being data
    bool skipEmpty = false;     // empty lines are no data
    bool rearmPerLine = false;  // every data line buys another period
};

// The one reader of the board's bulk replies (the image head, the firmware's tail, the
// settings and certificate blocks): framed Base64 lines gathered until "411 ". The text may
// hold key material, so it is wiped whenever it is let go.
class BulkRead : private Chain {
public:
    using Done = std::function<void(const Outcome<BulkOutcome>&)>;

    explicit BulkRead(BoardLink& link) : Chain(link) {}
    ~BulkRead() { Wipe(); }

    void Start(BulkRequest request, Done done);
    bool running() const { return static_cast<bool>(m_done); }
    // The reply's Base64 text decoded (after Read); empty when none came.
    Bytes Decoded() const;
    bool empty() const { return m_text.empty(); }
    // Lets go of what was read.
    void Wipe();

private:
    Reply OnLine(const ReplyLine& line);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(BulkOutcome outcome, std::string command = {});

    BulkRequest m_request;
    std::string m_text;
    bool m_overflow = false;
    Done m_done;
};

}  // namespace varnow
