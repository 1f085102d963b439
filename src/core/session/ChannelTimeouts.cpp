#include "session/ChannelTimeouts.h"

#include "firmware/FirmwareUpgrade.h"
#include "link/CommandStates.h"
#include "session/Writer.h"
#include "ui/MessageIds.h"
#include "upload/UploadChain.h"

namespace varnow {
namespace {

bool IsIdentificationState(int state) {
    return state >= kStateSetEcho && state <= kStateGetIdMcu;
}
}  // namespace

void ChannelTimeouts::OnTimer(int id) {
    switch (id) {
        case kTimerReply1s:
            OnReply1s();
            break;
        case kTimerQuery1s:
        case kTimerBulk1s: {
            m_writer.platform().CancelTimer(id);
            CommandChannel& channel = m_writer.channel();
            if (channel.state() == kStateGetIdPdb) {
                m_writer.SetConnectOutcome(ConnectOutcome::Stalled);
            }
            m_writer.upload().OnTimedOut(channel.state());
            channel.SetState(kStateIdle);
            break;
        }
        case kTimerReply3s:
            OnReply3s();
            break;
        case kTimerReply5s:
            OnReply5s();
            break;
        case kTimerReply10s:
            OnReply10s();
            break;
        default:
            break;
    }
}

void ChannelTimeouts::OnReply1s() {
    m_writer.platform().CancelTimer(kTimerReply1s);
    CommandChannel& channel = m_writer.channel();
    channel.ClearBulk();
    channel.ClearLine();
    m_writer.CancelProgressAndDisconnect();
    const int state = channel.state();
    if (IsIdentificationState(state)) {
        m_writer.SetConnectOutcome(ConnectOutcome::TimedOut);
        m_writer.messenger().Show(kMsgInitialSettingFailed, MessageStyle::Warning);
    } else if (state == kStateLogin) {
        m_writer.SetConnectOutcome(ConnectOutcome::TimedOut);
        m_writer.Disconnect();
    } else if (state == kStateGetFibMac || state == kStateSendTail || state == kStateGetUptime) {
        m_writer.messenger().Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
    }
    channel.SetState(kStateIdle);
}

void ChannelTimeouts::OnReply3s() {
    m_writer.platform().CancelTimer(kTimerReply3s);
    CommandChannel& channel = m_writer.channel();
    switch (channel.state()) {
        case kStateSetEsc:
            channel.SetState(kStateIdle);
            m_writer.SetConnectOutcome(ConnectOutcome::TimedOut);
            m_writer.CancelProgressAndDisconnect();
            m_writer.messenger().Show(kMsgInitialSettingFailed, MessageStyle::Warning);
            break;
        case kStateRecvKofs:
            m_writer.upload().OnTimedOut(channel.state());
            channel.SetState(kStateIdle);
            m_writer.CloseProgressIfShown();
            m_writer.messenger().Show(kMsgSynchronizationFailed, MessageStyle::Warning);
            break;
        case kStateSendEnvs:
            channel.SetState(kStateIdle);
            m_writer.messenger().Show(kMsgGetConfigurationFailed, MessageStyle::Warning);
            break;
        case kStateRecvEnvs:
            channel.SetState(kStateIdle);
            break;
        case kStateRecvEnvc:
            channel.SetState(kStateIdle);
            m_writer.messenger().Show(kMsgSaveCertificateFailed, MessageStyle::Warning);
            break;
        default:
            break;  // the state keeps its value
    }
}

void ChannelTimeouts::OnReply5s() {
    m_writer.platform().CancelTimer(kTimerReply5s);
    m_writer.CloseProgressIfShown();
    if (m_writer.firmwareWindow() != nullptr) {
        m_writer.platform().Post([this] {
            if (FirmwareUpgrade* window = m_writer.firmwareWindow()) {
                window->OnEnded(false);
            }
        });
    }
    m_writer.channel().SetState(kStateIdle);
}

void ChannelTimeouts::OnReply10s() {
    m_writer.platform().CancelTimer(kTimerReply10s);
    CommandChannel& channel = m_writer.channel();
    if (channel.state() == kStateEraseKofs) {
        m_writer.upload().OnTimedOut(channel.state());
        channel.SetState(kStateIdle);
        m_writer.CloseProgressIfShown();
        m_writer.messenger().Show(kMsgSynchronizationFailed, MessageStyle::Warning);
    }
}

}  // namespace varnow
