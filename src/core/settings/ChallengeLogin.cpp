#include "settings/ChallengeLogin.h"

#include "link/CommandStates.h"
#include "session/ConnectSequence.h"
#include "session/Writer.h"
#include "settings/AdminPassword.h"
#include "ui/MessageIds.h"

namespace varnow {
ChallengeLogin::ChallengeLogin(Writer& writer) : m_writer(writer) {
    writer.channel().OnFramed(kStateLogin, [this](const ReplyLine& l) { OnLine(l); });
    writer.channel().OnUnframed(kStateLogin, [this](const ReplyLine& l) { OnLine(l); });
}

void ChallengeLogin::LoginRequest() {
    m_refused = false;
    m_writer.channel().SendCommand("auth chap admin\r", kStateLogin, kTimerReply1s, 1000);
    m_writer.session().login = true;
}

void ChallengeLogin::OnLine(const ReplyLine& line) {
    Platform& platform = m_writer.platform();
    if (line.StartsWith("auth admin")) {
        return;  // the board's echo
    }
    if (line.StartsWith("413 ")) {
        platform.CancelTimer(kTimerReply1s);
        m_challengeLine = line.text;
        m_writer.connectSequence().SendGetIdMcu();
    } else if (line.StartsWith("410 ")) {
        platform.CancelTimer(kTimerReply1s);
        m_writer.channel().SetState(kStateIdle);
        m_writer.connectSequence().SendSetEsc();
    } else if (line.StartsWith("504 ")) {
        platform.CancelTimer(kTimerReply1s);
        m_refused = true;
        m_writer.messenger().Show(kMsgPasswordMismatch, MessageStyle::Warning);
        PasswordStep();
    }
}

void ChallengeLogin::PasswordStep() {
    const std::optional<std::string> password = m_writer.host().AskLoginPassword();
    if (!password) {
        m_writer.channel().SetState(kStateIdle);
        m_writer.SetConnectOutcome(m_refused ? ConnectOutcome::LoginRefused
                                             : ConnectOutcome::LoginCancelled);
        m_writer.Disconnect();
        return;
    }
    const LoginChallenge challenge = ParseChallenge(m_challengeLine);
    const AdminKey key = DeriveAdminKey(*password, AdminKeySalt(m_writer.session().mcuId));
    m_writer.channel().SendCommand(AuthHashCommand(LoginDigest(challenge, key)), kStateLogin,
                                   kTimerReply1s, 1000);
}

}  // namespace varnow
