#include "certs/CertificateWrite.h"

#include <utility>

#include "base64/Base64Encoder.h"
#include "link/CommandStates.h"
#include "session/ChunkedWrite.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {
constexpr int kPauseMs = 100;
}  // namespace

CertificateWrite::CertificateWrite(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger) {}

void CertificateWrite::Start(ByteView block, Done done) {
    m_done = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(CertificateWriteOutcome::NoBoard);
    }
    m_text = Cleansed<std::string>(EncodeBase64(block));
    // The reply timer is armed once the text is out.
    m_link.channel().Send(Command{
        .text = "recv envc\r",
        .state = kStateRecvEnvc,
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().End();
                m_messenger.Show(kMsgSaveCertificateFailed, MessageStyle::Warning);
                Finish(CertificateWriteOutcome::TimedOut);
            },
        .onPortLost = [this] { Finish(CertificateWriteOutcome::PortLost); },
    });
    m_link.platform().ArmTimer(kTimerCertificatePause, kPauseMs, [this] { SendText(); });
}

void CertificateWrite::SendText() {
    m_link.platform().CancelTimer(kTimerCertificatePause);  // platform timers repeat
    const bool sent = WriteInChunks(m_link, m_text.get(), kChunkSize, kMostStalls);
    m_text = {};
    if (!sent) {
        // Without its text the board will not answer: the write ends here, told once.
        m_link.channel().End();
        m_messenger.Show(kMsgSaveCertificateFailed, MessageStyle::Warning);
        return Finish(CertificateWriteOutcome::Stalled);
    }
    m_link.channel().SendRaw("\r\r");
    m_link.channel().ArmReplyTimer({kTimerReply3s, 3000});
}

Reply CertificateWrite::OnLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    m_link.channel().End();
    const bool taken = line.text.front() == '4' || line.text.front() == '6';
    if (taken) {
        m_messenger.Show(kMsgCertificateSaved, MessageStyle::Information);
    } else {
        m_messenger.Show(kMsgSaveCertificateFailed, MessageStyle::Warning);
    }
    Finish(taken ? CertificateWriteOutcome::Written : CertificateWriteOutcome::Refused);
    return Reply::Done;
}

void CertificateWrite::Finish(CertificateWriteOutcome outcome) {
    m_link.platform().CancelTimer(kTimerCertificatePause);
    m_text = {};
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<CertificateWriteOutcome> result{outcome};
        if (outcome == CertificateWriteOutcome::TimedOut) {
            result.command = "recv envc";
        }
        done(result);
    }
}

}  // namespace varnow
