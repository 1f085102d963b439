#pragma once

#include <functional>
#include <string>

#include "connect/ChallengeLogin.h"
#include "connect/ConnectOutcome.h"
#include "session/BoardLink.h"
#include "session/Chain.h"
#include "ui/Messenger.h"
#include "ui/Questions.h"

namespace varnow {

// Connect and identify: opens the port, probes the board (or its boot loader), switches it to
// framed replies without echo, checks that its firmware and this tool fit together and reads
// its identity into the session record, logging in when the board asks. Ends with one outcome.
class ConnectSequence : private Chain {
public:
    using Done = std::function<void(const ConnectResult&)>;

    ConnectSequence(BoardLink& link, Messenger& messenger, Questions& questions);

    // `bootLoaderExpected`: a firmware upgrade waits for the boot loader, so its answer to the
    // probe is no news to tell the user.
    void Start(const std::string& port, bool bootLoaderExpected, Done done);
    bool running() const { return static_cast<bool>(m_done); }

private:
    void StartProbe();
    void SendProbe(int delayMs);
    void OnProbeTimeout();
    Reply OnProbeLine(const ReplyLine& line);
    void SendSetEsc();
    Reply OnSetEscLine(const ReplyLine& line);
    void SendSetEcho();
    Reply OnSetEchoLine(const ReplyLine& line);
    void SendGetIdPdb();
    Reply OnGetIdPdbLine(const ReplyLine& line);
    // "get sys kofs", "get state 0", "get id kofs", "get id fib", "get id mcu": "410 " ends
    // each reply ("502 " too; "501 " for the MCU id) and the next step follows.
    void SendIdentityStep(int step);
    Reply OnIdentityLine(int step, const ReplyLine& line);
    void BeginLogin();
    void OnLoginEnded(const LoginResult& result);
    // Ends the sequence on a reply the tool cannot go on with.
    Reply Refuse(int stringId, ConnectOutcome outcome);
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(ConnectOutcome outcome, std::string command = {});
    void Finish(const ConnectResult& result);

    Messenger& m_messenger;
    ChallengeLogin m_login;
    Done m_done;
    bool m_bootLoaderExpected = false;
    int m_probeCount = 0;
    std::string m_mcuLine;  // the data line of "get id mcu", checked at its end
};

}  // namespace varnow
