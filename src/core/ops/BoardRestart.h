#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ops/BoardContext.h"
#include "session/Chain.h"

namespace varnow {

enum class RestartOutcome {
    Back,             // the board restarted and is connected again (or its port is back)
    Refused,          // it answered the command with an error: it did not restart
    NotBack,          // it did not come back within the bound
    ReconnectFailed,  // it came back, but the connect to it failed
    OtherBoard,       // a board with another MCU id came back in its place
    NoBoard,          // the port was not open: nothing was sent
};

struct RestartResult {
    Outcome<RestartOutcome> outcome;
    std::optional<ConnectResult> connect;  // how the connect to the board back ended
    std::string reply;                     // the board's answer to the command, if any came
    std::string port;                      // where it came back (or was last looked for)
    std::string otherMcuId;                // OtherBoard: the board that answered instead
    std::string otherPort;                 // and where
};

// Restarts the board with a command and follows it back: the command goes as a work item (a
// reply that comes within a second is read: an error means the board did not restart), the
// port is closed, and the board is awaited and connected again (or only its port, when no
// connect is wanted). A board that comes back must be the one that left (its MCU id).
class BoardRestart : private Chain {
public:
    using Done = std::function<void(const RestartResult&)>;

    explicit BoardRestart(BoardContext& board) : Chain(board.link()), m_board(board) {}

    // `login`: answers the returned board's login (nullptr: the questions do). `connect`:
    // whether to connect to it once back, or only to wait for its port.
    void Start(std::string command, int state, Questions* login, bool connect, Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    Reply OnLine(const ReplyLine& line);
    void Restarted();
    void OnReturned(const std::optional<ConnectResult>& connect);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(RestartOutcome outcome);

    BoardContext& m_board;
    Questions* m_login = nullptr;
    bool m_connect = true;
    std::string m_mcuId;  // of the board that restarts
    RestartResult m_result;
    Done m_done;
};

}  // namespace varnow
