#include "connect/ChallengeLogin.h"

#include "connect/IdentificationStep.h"
#include "link/CommandStates.h"
#include "settings/AdminPassword.h"
#include "ui/MessageIds.h"

namespace varnow {

ChallengeLogin::ChallengeLogin(BoardLink& link, Messenger& messenger, LoginPrompt& prompt)
    : m_link(link), m_messenger(messenger), m_prompt(prompt) {}

void ChallengeLogin::Start(Done done) {
    m_done = std::move(done);
    m_refused = false;
    SendLoginCommand("auth chap admin\r");
    m_link.session().login = true;
}

void ChallengeLogin::SendLoginCommand(std::string text) {
    // The rest of "auth hash" is a digest, not worth showing.
    const std::string name = text.starts_with("auth hash") ? "auth hash" : CommandName(text);
    m_link.channel().Send(Command{
        .text = std::move(text),
        .state = kStateLogin,
        .timer = {kTimerReply1s, 1000},
        .lines = Lines::Both,
        .onReply = [this](const ReplyLine& line) { return OnLoginLine(line); },
        .onTimeout =
            [this, name] {
                m_link.channel().ClearLine();
                m_link.CancelProgressAndDisconnect();
                m_link.Disconnect();
                m_link.channel().End();
                Finish(LoginOutcome::TimedOut, name);
            },
        .onPortLost = [this] { Finish(LoginOutcome::PortLost); },
    });
}

Reply ChallengeLogin::OnLoginLine(const ReplyLine& line) {
    if (line.StartsWith("auth admin")) {
        return Reply::Pending;  // the board's echo
    }
    if (line.StartsWith("413 ")) {
        m_challengeLine = line.text;
        SendGetIdMcu();
    } else if (line.StartsWith("410 ")) {
        m_link.channel().End();
        Finish(LoginOutcome::LoggedIn);
    } else if (line.StartsWith("504 ")) {
        m_link.channel().CancelReplyTimer();
        m_refused = true;
        m_messenger.Show(kMsgPasswordMismatch, MessageStyle::Warning);
        PasswordStep();
    }
    return Reply::Pending;
}

// The MCU id salts the admin key. The board may still echo (unframed) or already frame.
void ChallengeLogin::SendGetIdMcu() {
    m_link.channel().Send(Command{
        .text = "get id mcu\r",
        .state = kStateGetIdMcu,
        .timer = {kTimerReply1s, 1000},
        .lines = Lines::Both,
        .onReply = [this](const ReplyLine& line) { return OnMcuLine(line); },
        .onTimeout =
            [this] {
                FailIdentification(m_link, m_messenger);
                Finish(LoginOutcome::TimedOut, "get id mcu");
            },
        .onPortLost = [this] { Finish(LoginOutcome::PortLost); },
    });
}

Reply ChallengeLogin::OnMcuLine(const ReplyLine& line) {
    if (line.framed && line.empty()) {
        return Reply::Pending;
    }
    if (!line.framed && line.StartsWith("get id mcu")) {
        return Reply::Pending;  // the board's echo
    }
    if (line.StartsWith("410 ") || (line.framed && line.StartsWith("501 "))) {
        m_link.channel().End();
        PasswordStep();
        return Reply::Pending;
    }
    m_link.session().mcuId = line.text;
    return Reply::Pending;
}

void ChallengeLogin::PasswordStep() {
    const std::optional<std::string> password = m_prompt.AskLoginPassword();
    if (!password) {
        m_link.channel().End();
        m_link.Disconnect();
        Finish(m_refused ? LoginOutcome::Refused : LoginOutcome::Cancelled);
        return;
    }
    const LoginChallenge challenge = ParseChallenge(m_challengeLine);
    const AdminKey key = DeriveAdminKey(*password, AdminKeySalt(m_link.session().mcuId));
    SendLoginCommand(AuthHashCommand(LoginDigest(challenge, key)));
}

void ChallengeLogin::Finish(LoginOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(LoginResult{outcome, std::move(command)});
    }
}

}  // namespace varnow
