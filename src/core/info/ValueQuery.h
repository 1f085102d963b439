#pragma once

#include <functional>
#include <string>

#include "session/Chain.h"

namespace varnow {

enum class QueryOutcome {
    Answered,  // "410 OK"
    Refused,   // "501 " (where the query takes it as a refusal)
    TimedOut,
    PortLost,
};

// One query of a value: the board answers with the value's line (the last of several wins)
// and "410 OK". Empty lines are not values.
class ValueQuery : private Chain {
public:
    using Done = std::function<void(const Outcome<QueryOutcome>&, const std::string& value)>;

    explicit ValueQuery(BoardLink& link) : Chain(link) {}
    // `refusable`: a line beginning "501 " refuses the query; otherwise it is a value like any.
    void Start(std::string command, int state, ReplyTimer timer, bool refusable, Done done);

private:
    Reply OnLine(const ReplyLine& line);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(QueryOutcome outcome);

    std::string m_command;
    bool m_refusable = false;
    std::string m_value;
    Done m_done;
};

}  // namespace varnow
