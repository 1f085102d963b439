#include "connect/ConnectSequence.h"

#include <array>
#include <utility>

#include "common/McuId.h"
#include "connect/IdentificationStep.h"
#include "link/CommandStates.h"
#include "settings/AddressText.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

constexpr int kMaxProbes = 6;

struct IdentityStep {
    const char* command;
    int state;
};

// The board's identity, read after the compatibility check; the last step ends the sequence.
constexpr std::array<IdentityStep, 5> kIdentitySteps{{
    {"get sys kofs\r", kStateGetSysKofs},
    {"get state 0\r", kStateGetState},
    {"get id kofs\r", kStateGetIdKofs},
    {"get id fib\r", kStateGetIdFib},
    {"get id mcu\r", kStateGetIdMcu},
}};
constexpr int kFibStep = 3;
constexpr int kMcuStep = 4;

// Characters 3 and 4 of the "get id pdb" line, read as a hexadecimal number: 0 when this tool
// and the board's firmware fit together.
unsigned CompatibilityNumber(std::string_view line) {
    std::array<std::uint8_t, 1> number{};
    if (line.size() > 2) {
        HexTextToBytes(line.substr(2, 2), number);
    }
    return number[0];
}

}  // namespace

ConnectSequence::ConnectSequence(BoardLink& link, Messenger& messenger, Questions& questions)
    : Chain(link), m_messenger(messenger), m_login(link, messenger, questions) {}

void ConnectSequence::Start(const std::string& port, bool bootLoaderExpected, Done done) {
    m_done = std::move(done);
    m_bootLoaderExpected = bootLoaderExpected;
    if (port.empty()) {
        m_messenger.Show(kMsgSelectComPort, MessageStyle::Warning);
        return Finish(ConnectOutcome::NoPortSelected);
    }
    const PortOpenResult opened = m_link.OpenBoardPort(port, m_messenger);
    if (opened.opening != PortOpening::Opened) {
        const bool setup = opened.opening == PortOpening::SetupFailed;
        return Finish(
            ConnectResult{setup ? ConnectOutcome::SetupFailed : ConnectOutcome::OpenFailed,
                          {},
                          opened.error,
                          opened.reason});
    }
    SessionRecord& session = m_link.session();
    session.login = false;
    session.auth = false;
    session.isp = false;
    session.portName = port;
    session.fibId.clear();
    session.mcuId.clear();
    m_link.view().ShowConnected(true);
    std::string text = m_messenger.Text(kTextConnecting);
    if (!session.cameBackOn.empty()) {
        text = FillPlaceholders(m_messenger.Text(kTextCameBackOn), {port}) + " " + text;
        session.cameBackOn.clear();
    }
    m_link.progress().Show(ProgressMode::Connect, std::move(text));
    m_link.After(kTimerProgressStarted, 10, [this] { StartProbe(); });
}

void ConnectSequence::OnTimedOut(const std::string& command) {
    FailIdentification(m_link, m_messenger);
    Finish(ConnectOutcome::TimedOut, command);
}

void ConnectSequence::OnPortLost() {
    Finish(ConnectOutcome::PortLost);
}

void ConnectSequence::StartProbe() {
    m_probeCount = 0;
    SendProbe(100);
}

// One CR; the probe timer brings the next, further apart each time (0, 100, 300, 700, 1300
// and 2100 ms), and gives up 1000 ms after the sixth.
void ConnectSequence::SendProbe(int delayMs) {
    Send(Command{
        .text = "\r",
        .state = kStateProbe,
        .timer = {kTimerProbe, delayMs},
        .lines = Lines::Unframed,
        .onReply = [this](const ReplyLine& line) { return OnProbeLine(line); },
        .onTimeout = [this] { OnProbeTimeout(); },
    });
}

void ConnectSequence::OnProbeTimeout() {
    if (++m_probeCount < kMaxProbes) {
        SendProbe(m_probeCount * 200);
        return;
    }
    m_link.CancelProgressAndDisconnect();
    m_messenger.Show(kMsgInitialSettingFailed, MessageStyle::Warning);
    Finish(ConnectOutcome::BoardSilent);
}

Reply ConnectSequence::OnProbeLine(const ReplyLine& line) {
    if (line.StartsWith("100")) {
        m_link.session().isp = true;
        m_link.progress().Close();
        if (!m_bootLoaderExpected) {
            m_messenger.Show(kMsgIspModeNoScript, MessageStyle::Warning);
        }
        Finish(ConnectOutcome::IspMode);
        return Reply::Done;
    }
    m_link.session().isp = false;
    SendSetEsc();
    return Reply::Pending;
}

void ConnectSequence::SendSetEsc() {
    Send(Command{
        .text = "\rset esc 02\r",
        .state = kStateSetEsc,
        .timer = {kTimerReply3s, 3000},
        .lines = Lines::Both,
        .onReply = [this](const ReplyLine& line) { return OnSetEscLine(line); },
    });
}

Reply ConnectSequence::OnSetEscLine(const ReplyLine& line) {
    SessionRecord& session = m_link.session();
    session.auth = false;
    if (line.framed) {
        if (line.StartsWith("410 ")) {
            SendSetEcho();
        } else if (line.StartsWith("504 ")) {
            BeginLogin();
        }
    } else if (line.StartsWith("300") && session.isp) {
        m_link.CancelProgressAndDisconnect();
        m_messenger.Show(kMsgIspModeNoScript, MessageStyle::Warning);
        Finish(ConnectOutcome::IspMode);
        return Reply::Done;
    } else if (line.StartsWith("504")) {
        BeginLogin();
    }
    return Reply::Pending;
}

void ConnectSequence::SendSetEcho() {
    Send(Command{
        .text = "\rset echo 0\r",
        .state = kStateSetEcho,
        .timer = {kTimerReply1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnSetEchoLine(line); },
    });
}

Reply ConnectSequence::OnSetEchoLine(const ReplyLine& line) {
    if (line.StartsWith("410 ")) {
        SendGetIdPdb();
    } else if (line.StartsWith("504 ")) {
        BeginLogin();
    }
    return Reply::Pending;
}

void ConnectSequence::SendGetIdPdb() {
    Send(Command{
        .text = "get id pdb\r",
        .state = kStateGetIdPdb,
        .timer = {kTimerBulk1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnGetIdPdbLine(line); },
        // The one step whose time-out says nothing: the sequence stops where it is.
        .onTimeout = [this] { Finish(ConnectOutcome::Stalled, "get id pdb"); },
    });
}

Reply ConnectSequence::OnGetIdPdbLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (line.StartsWith("410 O")) {
        SendIdentityStep(0);
    } else if (line.StartsWith("501 ")) {
        return Refuse(kMsgUpgradeFirmware, ConnectOutcome::FirmwareTooOld);
    } else if (CompatibilityNumber(line.text) != 0) {
        return Refuse(kMsgUseLastWriter, ConnectOutcome::WriterTooOld);
    }
    return Reply::Pending;
}

Reply ConnectSequence::Refuse(int stringId, ConnectOutcome outcome) {
    m_link.progress().Close();
    m_messenger.Show(stringId, MessageStyle::Warning);
    m_link.Disconnect();
    Finish(outcome);
    return Reply::Done;
}

void ConnectSequence::SendIdentityStep(int step) {
    const IdentityStep& identity = kIdentitySteps[static_cast<std::size_t>(step)];
    if (step == kMcuStep) {
        m_mcuLine.clear();
    }
    Send(Command{
        .text = identity.command,
        .state = identity.state,
        .timer = {kTimerReply1s, 1000},
        .onReply = [this, step](const ReplyLine& line) { return OnIdentityLine(step, line); },
    });
}

Reply ConnectSequence::OnIdentityLine(int step, const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    const bool noId = step == kMcuStep && line.StartsWith("501 ");
    const bool ends =
        line.StartsWith("410 ") || noId || (step != kMcuStep && line.StartsWith("502 "));
    if (!ends) {
        if (step == kFibStep) {
            m_link.session().fibId = line.text;
        } else if (step == kMcuStep) {
            m_mcuLine = line.text;
        }
        return Reply::Pending;
    }
    if (step < kMcuStep) {
        SendIdentityStep(step + 1);
        return Reply::Pending;
    }
    // A board without an MCU id says "501 "; any id it gives must be whole.
    if (!noId && !IsMcuId(m_mcuLine)) {
        m_link.CancelProgressAndDisconnect();
        m_messenger.Show(kMsgMcuIdUnreadable, MessageStyle::Warning, {m_mcuLine});
        Finish(ConnectResult{ConnectOutcome::IdentityUnreadable, "get id mcu", 0, m_mcuLine});
        return Reply::Done;
    }
    m_link.session().mcuId = noId ? std::string() : m_mcuLine;
    m_link.progress().Close();
    Finish(ConnectOutcome::Identified);
    return Reply::Done;
}

void ConnectSequence::BeginLogin() {
    m_link.session().auth = true;
    m_link.progress().Close();
    m_login.Start([this](const LoginResult& result) { OnLoginEnded(result); });
}

void ConnectSequence::OnLoginEnded(const LoginResult& result) {
    switch (result.code) {
        case LoginOutcome::LoggedIn:
            return SendSetEsc();
        case LoginOutcome::Cancelled:
            return Finish(ConnectOutcome::LoginCancelled);
        case LoginOutcome::Refused:
            return Finish(ConnectOutcome::LoginRefused);
        case LoginOutcome::TimedOut:
            return Finish(ConnectOutcome::TimedOut, result.command);
        case LoginOutcome::IdentityUnreadable:
            return Finish(ConnectResult{ConnectOutcome::IdentityUnreadable, result.command, 0,
                                        result.reason});
        case LoginOutcome::PortLost:
            return Finish(ConnectOutcome::PortLost);
    }
}

void ConnectSequence::Finish(ConnectOutcome outcome, std::string command) {
    Finish(ConnectResult{outcome, std::move(command)});
}

void ConnectSequence::Finish(const ConnectResult& result) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(result);
    }
}

}  // namespace varnow
