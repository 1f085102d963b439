#pragma once

#include <functional>
#include <string>
#include <vector>

#include "info/ValueQuery.h"
#include "session/Chain.h"

namespace varnow {

// Reads one of the board's tables (ARP, IPv6 neighbours) an index at a time:
// "pid net0 ioctl get arp 0", 1, 2, ... Every line of an answer moves the index on; the
// non-empty ones are entries. An answer holding an empty line marks the end. So does an
// answer of "410 OK" alone (the board has nothing at that index), and so does the 256th
// entry: no board can keep the walk going for ever.
class TableWalk : private Chain {
public:
    static constexpr std::size_t kMostEntries = 256;
    using Done = std::function<void(const Outcome<QueryOutcome>&, std::vector<std::string>)>;

    explicit TableWalk(BoardLink& link) : Chain(link) {}
    // `table`: "arp" or "ndc".
    void Start(std::string table, int state, Done done);

private:
    void Query();
    Reply OnLine(const ReplyLine& line);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(QueryOutcome outcome);

    std::string m_table;
    int m_state = 0;
    std::size_t m_index = 0;
    std::size_t m_linesThisQuery = 0;
    bool m_askedAgain = false;  // the index was asked again after "410 OK" came alone
    std::vector<std::string> m_entries;
    Done m_done;
};

}  // namespace varnow
