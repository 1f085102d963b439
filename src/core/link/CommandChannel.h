#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "common/Bytes.h"
#include "link/Command.h"
#include "link/LineAssembler.h"
#include "link/Platform.h"

namespace varnow {

// The only path between the tool and the board: one command is outstanding at a time. Each
// command carries its own reply handler and time-out; the channel writes it, hands it the
// reply lines of its kind, and ends it (timer cancelled, state 0) when its handler says it
// is done. Handlers may open modal dialogs; lines that arrive meanwhile are handled
// underneath, and bytes are always handled in the order they arrived.
class CommandChannel {
public:
    explicit CommandChannel(Platform& platform);
    CommandChannel(const CommandChannel&) = delete;
    CommandChannel& operator=(const CommandChannel&) = delete;

    // The state of the outstanding command; 0 when idle.
    int state() const { return m_current ? m_current->command.state : 0; }
    bool idle() const { return m_current == nullptr; }

    // Ends the outstanding command, then sets the new command's state, writes exactly its
    // bytes and arms its reply timer, in that order.
    void Send(Command command);
    // Ends the outstanding command: its timer is cancelled and the channel is idle.
    void End();
    // The port vanished: the outstanding command ends and hears of it.
    void AbandonForLostPort();
    // Arms or cancels the outstanding command's reply timer after it was sent (a bulk reply
    // re-arms it per line; the upload arms it once its text is written).
    void ArmReplyTimer(ReplyTimer timer);
    void CancelReplyTimer();

    // Writes bytes without touching the state or any timer; returns the bytes written.
    std::size_t SendRaw(std::string_view bytes);
    // Discards the line being assembled.
    void ClearLine() { m_assembler.Clear(); }

    // The arrival notification: reads what is waiting and dispatches every completed line.
    void HandleArrival(std::uint32_t events);

    Platform& platform() { return m_platform; }
    SerialPort& port() { return m_platform.Port(); }

private:
    struct Outstanding {
        Command command;
        ReplyTimer timer;  // as armed now
    };
    void Dispatch(const ReplyLine& line);
    void HandleIdleLine(const ReplyLine& line);
    void OnTimerExpired(const std::shared_ptr<Outstanding>& expired);

    Platform& m_platform;
    // Shared so that a handler that replaces its own command keeps running on a live object.
    std::shared_ptr<Outstanding> m_current;
    LineAssembler m_assembler;
    Bytes m_pending;  // read but not yet assembled, shared by nested arrivals
    std::size_t m_pendingAt = 0;
};

}  // namespace varnow
