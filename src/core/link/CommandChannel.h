#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string_view>

#include "common/Bytes.h"
#include "link/LineAssembler.h"
#include "link/Platform.h"

namespace varnow {

// The only path between the tool and the board: writes one command at a time, assembles the
// reply lines and hands each to the handler of the current command state. Handlers may open
// modal dialogs; lines that arrive meanwhile are handled underneath, and bytes are always
// handled in the order they arrived.
class CommandChannel {
public:
    using Handler = std::function<void(const ReplyLine&)>;

    explicit CommandChannel(Platform& platform);

    int state() const { return m_state; }
    void SetState(int state) { m_state = state; }

    // Sets the state, writes exactly the command's bytes and arms its reply timer, in that order.
    void SendCommand(std::string_view command, int state, int timerId, int periodMs);
    // Writes bytes without touching the state or any timer; returns the bytes written.
    std::size_t SendRaw(std::string_view bytes);
    // Discards the line being assembled.
    void ClearLine() { m_assembler.Clear(); }

    void OnFramed(int state, Handler handler) { m_framed[state] = std::move(handler); }
    void OnUnframed(int state, Handler handler) { m_unframed[state] = std::move(handler); }

    // The arrival notification: reads what is waiting and dispatches every completed line.
    void HandleArrival(std::uint32_t events);

    // Raw lines of a bulk reply, bounded by the 5 MiB bulk buffer.
    const Bytes& bulk() const { return m_bulk; }
    void ClearBulk() { m_bulk.clear(); }
    // False (and nothing appended) when the bytes would not fit.
    bool AppendBulk(std::string_view bytes);

    Platform& platform() { return m_platform; }
    SerialPort& port() { return m_platform.Port(); }

private:
    void Dispatch(const ReplyLine& line);
    void HandleIdleLine(const ReplyLine& line);

    Platform& m_platform;
    int m_state = 0;
    LineAssembler m_assembler;
    Bytes m_pending;  // read but not yet assembled, shared by nested arrivals
    std::size_t m_pendingAt = 0;
    std::map<int, Handler> m_framed;
    std::map<int, Handler> m_unframed;
    Bytes m_bulk;
};

}  // namespace varnow
