#include "settings/SettingsWrite.h"

#include "link/CommandStates.h"
#include "session/ChunkedWrite.h"
#include "ui/MessageIds.h"

namespace varnow {

void SettingsWrite::Start(std::string text, Done done) {
    m_done = std::move(done);
    m_text = std::move(text);
    m_asked = false;
    m_textSent = false;
    m_stalled = false;
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(SettingsWriteOutcome::NoBoard);
    }
    // The board's "412 " must come within 3 s of the command: the timer is not re-armed.
    Send(Command{
        .text = "recv envs\r",
        .state = kStateRecvEnvs,
        .timer = {kTimerReply3s, 3000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
}

void SettingsWrite::OnTimedOut(const std::string& command) {
    Finish(m_stalled ? SettingsWriteOutcome::Stalled : SettingsWriteOutcome::TimedOut, command);
}

void SettingsWrite::OnPortLost() {
    Finish(SettingsWriteOutcome::PortLost);
}

Reply SettingsWrite::OnLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (line.StartsWith("600 ")) {
        if (!m_asked) {
            m_asked = true;
            m_stalled = !SendText();
        }
        return Reply::Pending;  // a second "600 " changes nothing
    }
    if (line.StartsWith("412 ")) {
        // Before the block was asked for, "412 " confirms nothing that was sent.
        Finish(m_asked && !m_stalled ? SettingsWriteOutcome::Written
                                     : SettingsWriteOutcome::NotSent);
    } else {
        Finish(SettingsWriteOutcome::Refused);
    }
    return Reply::Done;
}

bool SettingsWrite::SendText() {
    m_textSent = true;
    if (!WriteInChunks(m_link, m_text, kChunkSize, kMostStalls)) {
        m_messenger.Show(kMsgSynchronizationFailed, MessageStyle::Warning);
        return false;
    }
    m_link.channel().SendRaw("\r\r");
    return true;
}

void SettingsWrite::Finish(SettingsWriteOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(Outcome<SettingsWriteOutcome>{outcome, std::move(command)});
    }
}

}  // namespace varnow
