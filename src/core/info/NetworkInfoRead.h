#pragma once

#include <functional>

#include "info/NetworkInfo.h"
#include "info/TableWalk.h"
#include "info/ValueQuery.h"
#include "session/BoardLink.h"
#include "session/Outcome.h"
#include "ui/Messenger.h"

namespace varnow {

enum class NetworkInfoOutcome {
    Read,
    NoBoard,   // the port is not open: "Open a COM port and try again."
    Refused,   // "501 " to a query: "Has failed to get network information."
    TimedOut,  // a query went unanswered: nothing is shown
    PortLost,
};

// "Network information": net0's addresses and duplicate-address detection, net1's wireless
// state, then the ARP and neighbour tables, one query at a time. Nothing is changed.
class NetworkInfoRead {
public:
    using Done = std::function<void(const Outcome<NetworkInfoOutcome>&, const NetworkInfo&)>;

    NetworkInfoRead(BoardLink& link, Messenger& messenger);
    void Start(Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    // Queries the value of step `step` of the list, then goes on with the next.
    void Query(std::size_t step);
    void WalkTables();
    // False (the chain ended) unless the query or walk was answered.
    bool Answered(const Outcome<QueryOutcome>& outcome);
    void Finish(NetworkInfoOutcome outcome, std::string command = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    ValueQuery m_query;
    TableWalk m_walk;
    NetworkInfo m_info;
    Done m_done;
};

}  // namespace varnow
