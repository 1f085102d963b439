#include "settings/SettingsRead.h"

#include "link/CommandStates.h"
#include "settings/EnvironmentBlock.h"
#include "ui/MessageIds.h"

namespace varnow {

SettingsRead::SettingsRead(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger), m_text(kEnvironmentBufferSize) {}

void SettingsRead::Start(Done done) {
    m_done = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(SettingsReadOutcome::NoBoard);
    }
    m_text.Clear();
    m_link.channel().ClearLine();
    m_link.channel().Send(Command{
        .text = "send envs\r",
        .state = kStateSendEnvs,
        .timer = {kTimerReply3s, 3000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().End();
                m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
                Finish(SettingsReadOutcome::TimedOut);
            },
        .onPortLost = [this] { Finish(SettingsReadOutcome::PortLost); },
    });
}

Reply SettingsRead::OnLine(const ReplyLine& line) {
    if (!line.StartsWith("411 ")) {
        m_text.Append(line.text);  // a Base64 data line
        return Reply::Pending;
    }
    m_link.channel().End();
    EnvironmentData data;
    if (!DecodeEnvironmentBlock(AsBytes(m_text.text()), data, m_messenger)) {
        m_messenger.Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
        Finish(SettingsReadOutcome::Undecodable);
        return Reply::Done;
    }
    Finish(SettingsReadOutcome::Read, std::move(data));
    return Reply::Done;
}

void SettingsRead::Finish(SettingsReadOutcome outcome, EnvironmentData data) {
    if (Done done = std::exchange(m_done, nullptr)) {
        Outcome<SettingsReadOutcome> result{outcome};
        if (outcome == SettingsReadOutcome::TimedOut) {
            result.command = "send envs";
        }
        done(result, std::move(data));
    }
}

}  // namespace varnow
