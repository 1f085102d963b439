#include "connect/McuIdRead.h"

#include <utility>

#include "common/McuId.h"
#include "link/CommandStates.h"

namespace varnow {

void McuIdRead::Start(Done done) {
    m_done = std::move(done);
    m_line.clear();
    Send(Command{
        .text = "get id mcu\r",
        .state = kStateGetIdMcu,
        .timer = {kTimerReply1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnLine(line); },
    });
}

Reply McuIdRead::OnLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (line.StartsWith("501 ")) {
        Finish(McuIdOutcome::None);
        return Reply::Done;
    }
    if (!line.StartsWith("410 ")) {
        m_line = line.text;
        return Reply::Pending;
    }
    Finish(IsMcuId(m_line) ? McuIdOutcome::Read : McuIdOutcome::Unreadable, "get id mcu");
    return Reply::Done;
}

void McuIdRead::OnTimedOut(const std::string& command) {
    Finish(McuIdOutcome::TimedOut, command);
}

void McuIdRead::OnPortLost() {
    Finish(McuIdOutcome::PortLost);
}

void McuIdRead::Finish(McuIdOutcome outcome, std::string command) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(Outcome<McuIdOutcome>{outcome, std::move(command)}, m_line);
    }
}

}  // namespace varnow
