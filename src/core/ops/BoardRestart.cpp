#include "ops/BoardRestart.h"

#include <utility>

#include "link/CommandStates.h"

namespace varnow {

void BoardRestart::Start(std::string command, int state, Questions* login, bool connect,
                         Done done) {
    m_done = std::move(done);
    m_login = login;
    m_connect = connect;
    m_result = RestartResult{};
    if (!m_link.portOpen()) {
        return Finish(RestartOutcome::NoBoard);
    }
    m_mcuId = m_link.session().mcuId;
    Send(Command{
        .text = std::move(command),
        .state = state,
        .timer = {kTimerReply1s, 1000},
        .lines = Lines::Both,
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
}

Reply BoardRestart::OnLine(const ReplyLine& line) {
    if (!line.framed || line.empty()) {
        return Reply::Pending;  // the echo of the command
    }
    m_result.reply = line.text;
    if (line.StartsWith("5")) {
        Finish(RestartOutcome::Refused);
        return Reply::Done;
    }
    m_link.channel().End();
    Restarted();
    return Reply::Done;
}

// No answer within a second: the board restarted before it could give one.
void BoardRestart::OnTimedOut(const std::string&) {
    Restarted();
}

// The port went under the command: the board restarted.
void BoardRestart::OnPortLost() {
    Restarted();
}

void BoardRestart::Restarted() {
    m_link.Disconnect();
    if (!m_connect) {
        return m_board.AwaitPort(
            [this](bool back) { Finish(back ? RestartOutcome::Back : RestartOutcome::NotBack); });
    }
    m_board.AwaitReturn(
        m_login, [this](const std::optional<ConnectResult>& connect) { OnReturned(connect); });
}

void BoardRestart::OnReturned(const std::optional<ConnectResult>& connect) {
    m_result.connect = connect;
    const SessionRecord& session = m_link.session();
    m_result.port = session.portName;
    if (!connect) {
        if (!session.otherMcuSeen.empty()) {
            m_result.otherMcuId = session.otherMcuSeen;
            m_result.otherPort = session.otherPortSeen;
            return Finish(RestartOutcome::OtherBoard);
        }
        return Finish(RestartOutcome::NotBack);
    }
    if (connect->code != ConnectOutcome::Identified) {
        m_result.outcome.command = connect->command;
        return Finish(RestartOutcome::ReconnectFailed);
    }
    if (!m_mcuId.empty() && session.mcuId != m_mcuId) {
        m_result.otherMcuId = session.mcuId;
        m_result.otherPort = session.portName;
        return Finish(RestartOutcome::OtherBoard);
    }
    Finish(RestartOutcome::Back);
}

void BoardRestart::Finish(RestartOutcome outcome) {
    m_result.outcome.code = outcome;
    if (Done done = std::exchange(m_done, nullptr)) {
        done(m_result);
    }
}

}  // namespace varnow
