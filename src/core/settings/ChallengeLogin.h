#pragma once

#include <string>

#include "link/ReplyLine.h"

namespace varnow {

class Writer;

// The board's challenge login: "auth chap admin" brings a 16-byte challenge, the tool reads
// the MCU id, asks for the password and answers with SHA-1 over the challenge and the admin
// key. The password itself never goes to the board.
class ChallengeLogin {
public:
    explicit ChallengeLogin(Writer& writer);

    void LoginRequest();
    // Asks for the password and sends the answer; a cancelled dialog disconnects.
    void PasswordStep();

private:
    void OnLine(const ReplyLine& line);

    Writer& m_writer;
    std::string m_challengeLine;
    bool m_refused = false;  // the board refused a password during this login
};

}  // namespace varnow
