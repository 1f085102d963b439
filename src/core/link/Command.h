#pragma once

#include <functional>
#include <string>

#include "link/ReplyLine.h"

namespace varnow {

// Which reply lines a command takes: the board's framed replies, the unframed lines of its
// echo and of the boot loader, or both.
enum class Lines { Framed = 1, Unframed = 2, Both = 3 };

// A reply handler's verdict on the outstanding command.
enum class Reply {
    Pending,  // more lines are to come; the reply timer keeps running
    Done,     // the command has its answer: the channel cancels its timer and goes idle
};

// The reply time-out of a command: a timer whose id names it. Id 0: the command waits
// without a time-out.
struct ReplyTimer {
    int id = 0;
    int milliseconds = 0;
};

// One command as one work item: what is written, the state it sets (kept for traces and the
// board's table), its reply time-out, and the handlers of its replies and of its time-out.
struct Command {
    std::string text{};  // written exactly, as many bytes as characters
    int state = 0;
    ReplyTimer timer{};
    Lines lines = Lines::Framed;
    std::function<Reply(const ReplyLine&)> onReply = nullptr;
    // The reply timer expired: the channel has ended the command (its timer cancelled, the
    // channel idle) and the handler decides what follows.
    std::function<void()> onTimeout = nullptr;
    // The board's port vanished while the command was outstanding; the command has ended.
    std::function<void()> onPortLost = nullptr;
};

}  // namespace varnow
