#pragma once

#include <functional>
#include <string>

#include "session/Chain.h"

namespace varnow {

enum class McuIdOutcome {
    Read,        // 40 hexadecimal digits
    None,        // "501 ": the board has no MCU id
    Unreadable,  // the reply ended, but what came is no MCU id
    TimedOut,
    PortLost,
};

// "get id mcu" on its own: the board's MCU id read again, to make sure of it before anything
// is derived from it.
class McuIdRead : private Chain {
public:
    using Done = std::function<void(const Outcome<McuIdOutcome>&, const std::string& id)>;

    explicit McuIdRead(BoardLink& link) : Chain(link) {}
    void Start(Done done);

private:
    Reply OnLine(const ReplyLine& line);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(McuIdOutcome outcome, std::string command = {});

    std::string m_line;
    Done m_done;
};

}  // namespace varnow
