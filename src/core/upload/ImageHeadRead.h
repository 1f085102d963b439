#pragma once

#include <functional>

#include "common/Bytes.h"
#include "session/BulkRead.h"

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

    explicit ImageHeadRead(BoardLink& link) : m_read(link) {}
    void Start(Done done);

private:
    BulkRead m_read;
};

}  // namespace varnow
