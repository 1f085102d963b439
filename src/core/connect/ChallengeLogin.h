#pragma once

#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "session/BoardLink.h"
#include "session/Outcome.h"
#include "ui/Host.h"
#include "ui/Messenger.h"

namespace varnow {

enum class LoginOutcome {
    LoggedIn,
    Cancelled,  // the user gave no password
    Refused,    // the board refused a password and the user then gave none
    TimedOut,   // a step got no reply in time
    PortLost,
};

using LoginResult = Outcome<LoginOutcome>;

// The board's challenge login: "auth chap admin" brings a 16-byte challenge, the tool reads
// the MCU id, asks for the password and answers with SHA-1 over the challenge and the admin
// key; a refused answer asks again. The password itself never goes to the board.
class ChallengeLogin {
public:
    using Done = std::function<void(const LoginResult&)>;

    ChallengeLogin(BoardLink& link, Messenger& messenger, LoginPrompt& prompt);

    void Start(Done done);

private:
    void SendLoginCommand(std::string text);
    Reply OnLoginLine(const ReplyLine& line);
    void SendGetIdMcu();
    Reply OnMcuLine(const ReplyLine& line);
    void PasswordStep();
    void Finish(LoginOutcome outcome, std::string command = {});

    BoardLink& m_link;
    Messenger& m_messenger;
    LoginPrompt& m_prompt;
    Done m_done;
    std::string m_challengeLine;
    bool m_refused = false;  // the board refused a password during this login
};

}  // namespace varnow
