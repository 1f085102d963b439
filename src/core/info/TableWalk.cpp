#include "info/TableWalk.h"

#include <utility>

#include "link/CommandStates.h"

namespace varnow {

void TableWalk::Start(std::string table, int state, Done done) {
    m_table = std::move(table);
    m_state = state;
    m_index = 0;
    m_entries.clear();
    m_done = std::move(done);
    Query();
}

void TableWalk::Query() {
    m_linesThisQuery = 0;
    m_link.channel().Send(Command{
        .text = "pid net0 ioctl get " + m_table + " " + std::to_string(m_index) + "\r",
        .state = m_state,
        .timer = {kTimerQuery1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().End();
                Finish(QueryOutcome::TimedOut);
            },
        .onPortLost = [this] { Finish(QueryOutcome::PortLost); },
    });
}

Reply TableWalk::OnLine(const ReplyLine& line) {
    if (line.StartsWith("501 ")) {
        m_link.channel().End();
        Finish(QueryOutcome::Refused);
        return Reply::Done;
    }
    if (!line.StartsWith("410 OK")) {
        ++m_index;
        ++m_linesThisQuery;
        if (!line.empty()) {
            m_entries.push_back(line.text);
        }
        return Reply::Pending;
    }
    m_link.channel().End();
    const bool more =
        m_linesThisQuery > 0 && m_index == m_entries.size() && m_entries.size() < kMostEntries;
    if (more) {
        Query();
    } else {
        Finish(QueryOutcome::Answered);
    }
    return Reply::Done;
}

void TableWalk::Finish(QueryOutcome outcome) {
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<QueryOutcome> result{outcome};
        if (outcome != QueryOutcome::Answered) {
            result.command = "pid net0 ioctl get " + m_table + " " + std::to_string(m_index);
        }
        done(result, std::move(m_entries));
    }
}

}  // namespace varnow
