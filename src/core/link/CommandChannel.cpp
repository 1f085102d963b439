#include "link/CommandChannel.h"

#include <array>

#include "link/ChannelBuffers.h"

namespace varnow {
namespace {

bool Takes(Lines lines, bool framed) {
    const int kind = static_cast<int>(framed ? Lines::Framed : Lines::Unframed);
    return (static_cast<int>(lines) & kind) != 0;
}

}  // namespace

CommandChannel::CommandChannel(Platform& platform) : m_platform(platform) {}

void CommandChannel::Send(Command command) {
    End();
    const ReplyTimer timer = command.timer;
    m_current = std::make_shared<Outstanding>(Outstanding{std::move(command), {}});
    const std::shared_ptr<Outstanding> sent = m_current;
    if (!sent->command.text.empty()) {
        port().Write(AsBytes(sent->command.text));
    }
    // The write may have run nested events that already ended the command.
    if (m_current == sent) {
        ArmReplyTimer(timer);
    }
}

void CommandChannel::End() {
    if (!m_current) {
        return;
    }
    CancelReplyTimer();
    m_current.reset();
}

void CommandChannel::AbandonForLostPort() {
    if (!m_current) {
        return;
    }
    const std::shared_ptr<Outstanding> lost = m_current;
    End();
    if (lost->command.onPortLost) {
        lost->command.onPortLost();
    }
}

void CommandChannel::ArmReplyTimer(ReplyTimer timer) {
    if (!m_current) {
        return;
    }
    CancelReplyTimer();
    if (timer.id == 0) {
        return;
    }
    m_current->timer = timer;
    const std::weak_ptr<Outstanding> armedFor = m_current;
    m_platform.ArmTimer(timer.id, timer.milliseconds, [this, armedFor] {
        if (const auto expired = armedFor.lock()) {
            OnTimerExpired(expired);
        }
    });
}

void CommandChannel::CancelReplyTimer() {
    if (m_current && m_current->timer.id != 0) {
        m_platform.CancelTimer(m_current->timer.id);
        m_current->timer = {};
    }
}

void CommandChannel::OnTimerExpired(const std::shared_ptr<Outstanding>& expired) {
    if (expired != m_current) {
        return;  // a later command re-armed this id; its own expiry is handled there
    }
    // The command has ended before its handler hears of it: whatever comes for it later is
    // an idle line.
    End();
    if (expired->command.onTimeout) {
        expired->command.onTimeout();
    }
}

std::size_t CommandChannel::SendRaw(std::string_view bytes) {
    return port().Write(AsBytes(bytes));
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
    const std::shared_ptr<Outstanding> command = m_current;
    if (!command) {
        if (line.framed) {
            HandleIdleLine(line);
        }
        return;
    }
    if (!Takes(command->command.lines, line.framed) || !command->command.onReply) {
        return;
    }
    if (command->command.onReply(line) == Reply::Done && m_current == command) {
        End();
    }
}

void CommandChannel::HandleIdleLine(const ReplyLine& line) {
    // The board restarted its script after a break; let it run again.
    if (line.StartsWith("602 0 BREAK init.php ") && port().IsOpen()) {
        SendRaw("set state 0 run\r");
    }
}

}  // namespace varnow
