#include "session/BulkRead.h"

#include <algorithm>
#include <utility>

#include "base64/Base64Decoder.h"
#include "common/Cleanse.h"

namespace varnow {

void BulkRead::Start(BulkRequest request, Done done) {
    Wipe();
    m_request = std::move(request);
    m_done = std::move(done);
    // Room for a certificate block's text at once: growing it would leave copies behind.
    m_text.reserve(std::min<std::size_t>(m_request.capacity, 256 * 1024));
    m_link.channel().ClearLine();
    Send(Command{
        .text = m_request.command,
        .state = m_request.state,
        .timer = m_request.timer,
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
}

Reply BulkRead::OnLine(const ReplyLine& line) {
    if (line.StartsWith("411 ")) {
        Finish(m_overflow ? BulkOutcome::Overflow : BulkOutcome::Read);
        return Reply::Done;
    }
    if (m_request.refusable && line.StartsWith("501")) {
        Finish(BulkOutcome::Refused);
        return Reply::Done;
    }
    if (line.empty() && m_request.skipEmpty) {
        return Reply::Pending;
    }
    if (m_request.rearmPerLine) {
        m_link.channel().ArmReplyTimer(m_request.timer);
    }
    if (m_text.size() + line.text.size() > m_request.capacity) {
        m_overflow = true;  // a block that does not fit its buffer is refused, not cut
    } else {
        m_text += line.text;
    }
    return Reply::Pending;
}

Bytes BulkRead::Decoded() const {
    return m_text.empty() ? Bytes{} : DecodeBase64(AsBytes(m_text));
}

void BulkRead::Wipe() {
    Cleanse(m_text);
    m_text.shrink_to_fit();
    m_overflow = false;
}

void BulkRead::OnTimedOut(const std::string& command) {
    Finish(BulkOutcome::TimedOut, command);
}

void BulkRead::OnPortLost() {
    Finish(BulkOutcome::PortLost);
}

void BulkRead::Finish(BulkOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(Outcome<BulkOutcome>{outcome, std::move(command)});
    }
}

}  // namespace varnow
