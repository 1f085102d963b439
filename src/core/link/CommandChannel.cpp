#include "link/CommandChannel.h"

#include <array>

#include "link/ChannelBuffers.h"
#include "link/CommandStates.h"

namespace varnow {

CommandChannel::CommandChannel(Platform& platform) : m_platform(platform) {
    m_bulk.reserve(kBulkBufferSize);
    OnFramed(kStateIdle, [this](const ReplyLine& line) { HandleIdleLine(line); });
}

void CommandChannel::SendCommand(std::string_view command, int state, int timerId, int periodMs) {
    m_state = state;
    port().Write(AsBytes(command));
    m_platform.ArmTimer(timerId, periodMs);
}

std::size_t CommandChannel::SendRaw(std::string_view bytes) {
    return port().Write(AsBytes(bytes));
}

bool CommandChannel::AppendBulk(std::string_view bytes) {
    if (m_bulk.size() + bytes.size() > kBulkBufferSize) {
        return false;
    }
    m_bulk.insert(m_bulk.end(), bytes.begin(), bytes.end());
    return true;
}

void CommandChannel::HandleArrival(std::uint32_t events) {
    const bool clean = (events >> 16) == 0 && (events & kEventLineError) == 0 &&
                       (events & kEventCharacterReceived) != 0;
    if (!clean) {
        return;  // the bytes stay in the driver until the next clean notification
    }
    std::array<std::uint8_t, kReadChunkSize> chunk;
    std::size_t count = kReadChunkSize;
    while (count == kReadChunkSize && port().IsOpen()) {
        count = port().Read(chunk);
        if (count == 0) {
            break;
        }
        m_pending.insert(m_pending.end(), chunk.begin(), chunk.begin() + count);
        // A handler may open a modal dialog, inside which newer arrivals continue with these
        // same pending bytes, so every byte is taken from the shared queue in order.
        while (m_pendingAt < m_pending.size()) {
            const std::uint8_t byte = m_pending[m_pendingAt++];
            if (m_assembler.Feed(byte)) {
                Dispatch(m_assembler.TakeLine());
            }
        }
        m_pending.clear();
        m_pendingAt = 0;
    }
}

void CommandChannel::Dispatch(const ReplyLine& line) {
    auto& table = line.framed ? m_framed : m_unframed;
    const auto handler = table.find(m_state);
    if (handler != table.end()) {
        // A copy: a handler may register or replace handlers while it runs.
        const Handler run = handler->second;
        run(line);
    }
}

void CommandChannel::HandleIdleLine(const ReplyLine& line) {
    // The board restarted its script after a break; let it run again.
    if (line.StartsWith("602 0 BREAK init.php ") && port().IsOpen()) {
        SendRaw("set state 0 run\r");
    }
}

}  // namespace varnow
