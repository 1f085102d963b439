#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "ops/BoardContext.h"
#include "ui/MessageLog.h"
#include "ui/Messenger.h"

namespace varnow {

// What every operation's result carries besides its own findings.
struct OperationReport {
    std::vector<Message> messages;  // what it told the user, in order
    std::filesystem::path trace;    // where the exchange was saved, when it failed
    double seconds = 0;             // how long it took on the board's clock
};

// One thing a user asks of a board (connect, write a package, apply settings, ...): it runs
// its chains on the board it was made for and ends exactly once, with a typed result that
// says what the board said or holds. It prints nothing and opens no window: its messages are
// part of its result, and it asks the person only through the questions. Its end is posted,
// so that whoever hears of it is never inside one of its reply handlers.
class Operation : public std::enable_shared_from_this<Operation> {
public:
    explicit Operation(BoardContext& board);
    virtual ~Operation() = default;
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

    // `ended` runs once, later, from the loop; not when the operation is abandoned.
    void Start(std::function<void()> ended);
    bool running() const { return m_running; }
    // Its user gave up on it: whatever it was doing stops, and it never ends.
    void Abandon();
    virtual bool succeeded() const = 0;

    const OperationReport& report() const { return m_report; }
    // Messages of a connect made for this operation (after a restart it asked for) become
    // its own.
    void Absorb(const std::vector<Message>& messages) {
        for (const Message& message : messages) {
            m_log.ShowMessage(message);
        }
    }
    void SetTrace(std::filesystem::path trace) { m_report.trace = std::move(trace); }

protected:
    virtual void Begin() = 0;
    // The operation's one end; later calls do nothing.
    void End();
    bool abandoned() const { return m_abandoned; }

    BoardContext& board() { return m_board; }
    BoardLink& link() { return m_board.link(); }
    Messenger& messenger() { return m_messenger; }

private:
    BoardContext& m_board;
    MessageLog m_log;
    Messenger m_messenger;
    OperationReport m_report;
    std::function<void()> m_ended;
    std::uint64_t m_startedMs = 0;
    bool m_running = false;
    bool m_abandoned = false;
};

}  // namespace varnow
