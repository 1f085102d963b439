#include "certs/CertificateWrite.h"

#include <utility>

#include "base64/Base64Encoder.h"
#include "link/CommandStates.h"
#include "session/ChunkedWrite.h"

namespace varnow {
namespace {
constexpr int kPauseMs = 100;
}  // namespace

void CertificateWrite::Start(ByteView block, Done done) {
    m_done = std::move(done);
    m_textSent = false;
    if (!m_link.portOpen()) {
        return Finish(CertificateWriteOutcome::NoBoard);
    }
    m_text = Cleansed<std::string>(EncodeBase64(block));
    // The reply timer is armed once the text is out.
    Send(Command{
        .text = "recv envc\r",
        .state = kStateRecvEnvc,
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
    m_link.After(kTimerCertificatePause, kPauseMs, [this] { SendText(); });
}

void CertificateWrite::SendText() {
    m_textSent = true;
    const bool sent = WriteInChunks(m_link, m_text.get(), kChunkSize, kMostStalls);
    m_text = {};
    if (!sent) {
        // Without its text the board will not answer: the write ends here.
        m_link.channel().End();
        return Finish(m_link.portOpen() ? CertificateWriteOutcome::Stalled
                                        : CertificateWriteOutcome::PortLost);
    }
    m_link.channel().SendRaw("\r\r");
    m_link.channel().ArmReplyTimer({kTimerReply3s, 3000});
}

Reply CertificateWrite::OnLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    const bool taken = line.text.front() == '4' || line.text.front() == '6';
    Finish(taken ? CertificateWriteOutcome::Written : CertificateWriteOutcome::Refused);
    return Reply::Done;
}

void CertificateWrite::OnTimedOut(const std::string& command) {
    Finish(CertificateWriteOutcome::TimedOut, command);
}

void CertificateWrite::OnPortLost() {
    Finish(CertificateWriteOutcome::PortLost);
}

void CertificateWrite::Finish(CertificateWriteOutcome outcome, std::string command) {
    m_link.CancelTimer(kTimerCertificatePause);
    m_text = {};
    if (Done done = std::exchange(m_done, nullptr)) {
        done(Outcome<CertificateWriteOutcome>{outcome, std::move(command)});
    }
}

}  // namespace varnow
