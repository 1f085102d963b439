#include "info/ValueQuery.h"

#include <utility>

namespace varnow {

void ValueQuery::Start(std::string command, int state, ReplyTimer timer, bool refusable,
                       Done done) {
    m_command = std::move(command);
    m_refusable = refusable;
    m_value.clear();
    m_done = std::move(done);
    Send(Command{
        .text = m_command,
        .state = state,
        .timer = timer,
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
}

void ValueQuery::OnTimedOut(const std::string&) {
    Finish(QueryOutcome::TimedOut);
}

void ValueQuery::OnPortLost() {
    Finish(QueryOutcome::PortLost);
}

Reply ValueQuery::OnLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    const bool ok = line.StartsWith("410 OK");
    const bool refused = m_refusable && line.StartsWith("501 ");
    if (!ok && !refused) {
        m_value = line.text;
        return Reply::Pending;
    }
    Finish(ok ? QueryOutcome::Answered : QueryOutcome::Refused);
    return Reply::Done;
}

void ValueQuery::Finish(QueryOutcome outcome) {
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<QueryOutcome> result{outcome};
        if (outcome == QueryOutcome::TimedOut || outcome == QueryOutcome::Refused) {
            result.command = CommandName(m_command);
        }
        done(result, m_value);
    }
}

}  // namespace varnow
