#pragma once

#include <string>
#include <utility>

#include "session/BoardLink.h"
#include "session/Outcome.h"

namespace varnow {

// The common part of a chain of commands. Its commands go through the link's channel; unless
// a command brings handlers of its own, its time-out ends the chain as timed out, naming the
// command as people read it, and a port that vanishes under it ends the chain as lost. The
// channel has ended the command before either handler runs.
class Chain {
public:
    Chain(const Chain&) = delete;
    Chain& operator=(const Chain&) = delete;

protected:
    explicit Chain(BoardLink& link) : m_link(link) {}
    ~Chain() = default;

    void Send(Command command) {
        if (!command.onTimeout) {
            command.onTimeout = [this, name = CommandName(command.text)] { OnTimedOut(name); };
        }
        if (!command.onPortLost) {
            command.onPortLost = [this] { OnPortLost(); };
        }
        m_link.channel().Send(std::move(command));
    }

    // `command`: the command that got no answer in time, as people read it.
    virtual void OnTimedOut(const std::string& command) = 0;
    virtual void OnPortLost() = 0;

    BoardLink& m_link;
};

}  // namespace varnow
