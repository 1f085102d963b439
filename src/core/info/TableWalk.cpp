#include "info/TableWalk.h"

#include <utility>

#include "link/CommandStates.h"

namespace varnow {

void TableWalk::Start(std::string table, int state, Done done) {
    m_table = std::move(table);
    m_state = state;
    m_index = 0;
    m_askedAgain = false;
    m_entries.clear();
    m_done = std::move(done);
    Query();
}

void TableWalk::Query() {
    m_linesThisQuery = 0;
    Send(Command{
        .text = "pid net0 ioctl get " + m_table + " " + std::to_string(m_index) + "\r",
        .state = m_state,
        .timer = {kTimerQuery1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
}

void TableWalk::OnTimedOut(const std::string&) {
    Finish(QueryOutcome::TimedOut);
}

void TableWalk::OnPortLost() {
    Finish(QueryOutcome::PortLost);
}

Reply TableWalk::OnLine(const ReplyLine& line) {
    if (line.StartsWith("501 ")) {
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
    // "410 OK" alone ends a table; it is also what a lost entry line leaves, so the index is
    // asked once more before the table counts as ended.
    if (m_linesThisQuery == 0 && !m_askedAgain) {
        m_askedAgain = true;
        Query();
        return Reply::Done;
    }
    m_askedAgain = m_linesThisQuery == 0;
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
