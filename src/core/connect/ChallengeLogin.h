#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "session/BoardLink.h"
#include "session/Chain.h"
#include "session/Outcome.h"
#include "ui/Messenger.h"
#include "ui/Questions.h"

namespace varnow {

enum class LoginOutcome {
    LoggedIn,
    Cancelled,           // the user gave no password
    Refused,             // the board refused a password and the user then gave none
    TimedOut,            // a step got no reply in time
    IdentityUnreadable,  // the MCU id that salts the key came damaged: nothing was derived
    PortLost,
};

using LoginResult = Outcome<LoginOutcome>;

// The board's challenge login: "auth chap admin" brings a 16-byte challenge, the tool reads
// the MCU id, asks for the password and answers with SHA-1 over the challenge and the admin
// key; a refused answer asks again. The password itself never goes to the board.
class ChallengeLogin : private Chain {
public:
    using Done = std::function<void(const LoginResult&)>;

    ChallengeLogin(BoardLink& link, Messenger& messenger, Questions& questions);

    void Start(Done done);

private:
    void SendLoginCommand(std::string text);
    Reply OnLoginLine(const ReplyLine& line);
    void SendGetIdMcu();
    Reply OnMcuLine(const ReplyLine& line);
    void PasswordStep();
    void Answer(std::optional<std::string> password);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(LoginOutcome outcome, std::string command = {});

    Messenger& m_messenger;
    Questions& m_questions;
    Done m_done;
    std::string m_challengeLine;
    std::string m_mcuLine;
    bool m_noMcuId = false;
    bool m_refused = false;  // the board refused a password during this login
    bool m_challengeAskedAgain = false;
    // The question open now; an answer to an earlier one (the login ended meanwhile) is
    // dropped.
    std::shared_ptr<int> m_question;
};

}  // namespace varnow
