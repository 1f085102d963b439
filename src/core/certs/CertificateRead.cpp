#include "certs/CertificateRead.h"

#include <utility>

#include "base64/Base64Decoder.h"
#include "link/CommandStates.h"
#include "ui/MessageIds.h"

namespace varnow {
CertificateRead::CertificateRead(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger), m_text(kBulkBufferSize) {}

void CertificateRead::Start(Done done) {
    m_done = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(CertificateReadOutcome::NoBoard);
    }
    m_text.Clear();
    m_overflow = false;
    m_link.channel().Send(Command{
        .text = "send envc\r",
        .state = kStateSendEnvc,
        .timer = {kTimerReply1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().End();
                Finish(CertificateReadOutcome::TimedOut);
            },
        .onPortLost = [this] { Finish(CertificateReadOutcome::PortLost); },
    });
}

Reply CertificateRead::OnLine(const ReplyLine& line) {
    if (line.StartsWith("411")) {
        m_link.channel().End();
        const Bytes block = m_text.empty() ? Bytes{} : DecodeBase64(AsBytes(m_text.text()));
        // A block that would not fit its 64 KiB buffer is refused, not cut.
        if (m_overflow || block.size() > kCertificateBufferSize) {
            Finish(CertificateReadOutcome::NoBlock);
        } else {
            Finish(CertificateReadOutcome::Read, LoadCertificateRecords(block));
        }
        return Reply::Done;
    }
    if (line.StartsWith("501")) {
        m_link.channel().End();
        Finish(CertificateReadOutcome::NoBlock);
        return Reply::Done;
    }
    m_overflow = !m_text.Append(line.text) || m_overflow;
    return Reply::Pending;
}

void CertificateRead::Finish(CertificateReadOutcome outcome, CertificateRecordStore store) {
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<CertificateReadOutcome> result{outcome};
        if (outcome == CertificateReadOutcome::TimedOut) {
            result.command = "send envc";
        }
        done(result, std::move(store));
    }
}

}  // namespace varnow
