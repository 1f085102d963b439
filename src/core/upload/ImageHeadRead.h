#pragma once

#include <functional>
#include <utility>

#include "common/Bytes.h"
#include "link/BulkReply.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"

namespace varnow {

enum class ReadOutcome {
    Read,
    Stalled,  // no line for a second: the chain stops without a word
    PortLost,
};

// "send kofs head": the head of the KOFS image the board holds, as Base64 lines up to "411 ".
// Empty when the board sent none.
class ImageHeadRead {
public:
    using Done = std::function<void(const Outcome<ReadOutcome>&, const Bytes& head)>;

    explicit ImageHeadRead(BoardLink& link);
    void Start(Done done);

private:
    Reply OnLine(const ReplyLine& line);
    void Finish(ReadOutcome outcome, const Bytes& head = {});

    BoardLink& m_link;
    BulkReply m_text;
    Done m_done;
};

}  // namespace varnow
