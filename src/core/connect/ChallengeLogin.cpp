#include "connect/ChallengeLogin.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "common/Cleanse.h"
#include "common/McuId.h"
#include "connect/IdentificationStep.h"
#include "link/CommandStates.h"
#include "settings/AdminPassword.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

// "413 " and the board's 16 challenge bytes in 32 hexadecimal digits.
bool IsChallenge(std::string_view line) {
    const std::string_view hex = line.substr(4);
    return hex.size() == 32 && std::all_of(hex.begin(), hex.end(), [](char c) {
               return std::isxdigit(static_cast<unsigned char>(c)) != 0;
           });
}

}  // namespace

ChallengeLogin::ChallengeLogin(BoardLink& link, Messenger& messenger, Questions& questions)
    : Chain(link), m_messenger(messenger), m_questions(questions) {}

void ChallengeLogin::Start(Done done) {
    m_done = std::move(done);
    m_refused = false;
    m_challengeAskedAgain = false;
    m_question.reset();
    SendLoginCommand("auth chap admin\r");
    m_link.session().login = true;
}

void ChallengeLogin::SendLoginCommand(std::string text) {
    Send(Command{
        .text = std::move(text),
        .state = kStateLogin,
        .timer = {kTimerReply1s, 1000},
        .lines = Lines::Both,
        .onReply = [this](const ReplyLine& line) { return OnLoginLine(line); },
    });
}

void ChallengeLogin::OnTimedOut(const std::string& command) {
    m_link.channel().ClearLine();
    if (command == "get id mcu") {
        FailIdentification(m_link, m_messenger);
    } else {
        m_link.CancelProgressAndDisconnect();
        m_link.Disconnect();
    }
    Finish(LoginOutcome::TimedOut, command);
}

void ChallengeLogin::OnPortLost() {
    Finish(LoginOutcome::PortLost);
}

Reply ChallengeLogin::OnLoginLine(const ReplyLine& line) {
    if (line.StartsWith("auth admin")) {
        return Reply::Pending;  // the board's echo
    }
    if (line.StartsWith("413 ")) {
        if (!IsChallenge(line.text)) {
            // A challenge damaged on its way would make the right password look refused:
            // the board is asked for a new one, once.
            if (std::exchange(m_challengeAskedAgain, true)) {
                Finish(LoginOutcome::TimedOut, "auth chap admin");
                return Reply::Done;
            }
            SendLoginCommand("auth chap admin\r");
            return Reply::Pending;
        }
        m_challengeLine = line.text;
        SendGetIdMcu();
    } else if (line.StartsWith("410 ")) {
        Finish(LoginOutcome::LoggedIn);
        return Reply::Done;
    } else if (line.StartsWith("504 ")) {
        m_refused = true;
        m_messenger.Show(kMsgPasswordMismatch, MessageStyle::Warning);
        PasswordStep();
        return Reply::Done;
    }
    return Reply::Pending;
}

// The MCU id salts the admin key. The board may still echo (unframed) or already frame.
void ChallengeLogin::SendGetIdMcu() {
    m_mcuLine.clear();
    Send(Command{
        .text = "get id mcu\r",
        .state = kStateGetIdMcu,
        .timer = {kTimerReply1s, 1000},
        .lines = Lines::Both,
        .onReply = [this](const ReplyLine& line) { return OnMcuLine(line); },
    });
}

Reply ChallengeLogin::OnMcuLine(const ReplyLine& line) {
    if (line.framed && line.empty()) {
        return Reply::Pending;
    }
    if (!line.framed && line.StartsWith("get id mcu")) {
        return Reply::Pending;  // the board's echo
    }
    m_noMcuId = line.framed && line.StartsWith("501 ");
    if (!line.StartsWith("410 ") && !m_noMcuId) {
        m_mcuLine = line.text;
        return Reply::Pending;
    }
    // A board without an MCU id says "501 " and salts with nothing; an id it gives must be
    // whole, or the key derived from it would be another.
    if (!m_noMcuId && !IsMcuId(m_mcuLine)) {
        m_link.CancelProgressAndDisconnect();
        m_link.Disconnect();
        m_messenger.Show(kMsgMcuIdUnreadable, MessageStyle::Warning, {m_mcuLine});
        Finish(LoginOutcome::IdentityUnreadable, "get id mcu");
        return Reply::Done;
    }
    m_link.session().mcuId = m_noMcuId ? std::string() : m_mcuLine;
    PasswordStep();
    return Reply::Done;
}

void ChallengeLogin::PasswordStep() {
    auto question = std::make_shared<int>(0);
    m_question = question;
    const std::weak_ptr<int> asked = question;
    m_questions.AskLoginPassword(m_refused, [this, asked](std::optional<std::string> password) {
        if (!asked.expired() && m_done) {
            Answer(std::move(password));
        } else if (password) {
            Cleanse(*password);
        }
    });
}

void ChallengeLogin::Answer(std::optional<std::string> password) {
    m_question.reset();
    if (!password) {
        m_link.Disconnect();
        return Finish(m_refused ? LoginOutcome::Refused : LoginOutcome::Cancelled);
    }
    if (!m_link.portOpen()) {
        Cleanse(*password);
        return Finish(LoginOutcome::PortLost);
    }
    const LoginChallenge challenge = ParseChallenge(m_challengeLine);
    AdminKey key = DeriveAdminKey(*password, AdminKeySalt(m_link.session().mcuId));
    Cleanse(*password);
    const std::string answer = AuthHashCommand(LoginDigest(challenge, key));
    Cleanse(key.data(), key.size());
    SendLoginCommand(answer);
}

void ChallengeLogin::Finish(LoginOutcome outcome, std::string command) {
    m_question.reset();
    if (Done done = std::exchange(m_done, nullptr)) {
        LoginResult result{outcome, std::move(command)};
        if (outcome == LoginOutcome::IdentityUnreadable) {
            result.reason = m_mcuLine;
        }
        done(result);
    }
}

}  // namespace varnow
