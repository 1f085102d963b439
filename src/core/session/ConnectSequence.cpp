#include "session/ConnectSequence.h"

#include <array>

#include "firmware/FirmwareUpgrade.h"
#include "link/CommandStates.h"
#include "session/Writer.h"
#include "settings/AddressText.h"
#include "settings/ChallengeLogin.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

constexpr int kMaxProbes = 6;

bool EndsStep(const ReplyLine& line) {
    return line.StartsWith("410 ") || line.StartsWith("502 ");
}

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

ConnectSequence::ConnectSequence(Writer& writer) : m_writer(writer) {
    CommandChannel& channel = writer.channel();
    channel.OnUnframed(kStateProbe, [this](const ReplyLine& l) { OnProbeLine(l); });
    channel.OnFramed(kStateSetEsc, [this](const ReplyLine& l) { OnSetEscFramed(l); });
    channel.OnUnframed(kStateSetEsc, [this](const ReplyLine& l) { OnSetEscUnframed(l); });
    channel.OnFramed(kStateSetEcho, [this](const ReplyLine& l) { OnSetEcho(l); });
    channel.OnFramed(kStateGetIdPdb, [this](const ReplyLine& l) { OnGetIdPdb(l); });
    channel.OnFramed(kStateGetSysKofs,
                     [this](const ReplyLine& l) { OnInfoStep(l, &ConnectSequence::SendGetState); });
    channel.OnFramed(kStateGetState, [this](const ReplyLine& l) {
        OnInfoStep(l, &ConnectSequence::SendGetIdKofs);
    });
    channel.OnFramed(kStateGetIdKofs,
                     [this](const ReplyLine& l) { OnInfoStep(l, &ConnectSequence::SendGetIdFib); });
    channel.OnFramed(kStateGetIdFib, [this](const ReplyLine& l) { OnGetIdFib(l); });
    channel.OnFramed(kStateGetIdMcu, [this](const ReplyLine& l) { OnGetIdMcuFramed(l); });
    channel.OnUnframed(kStateGetIdMcu, [this](const ReplyLine& l) { OnGetIdMcuUnframed(l); });
}

void ConnectSequence::Connect() {
    Host& host = m_writer.host();
    const std::string name = host.SelectedPort();
    if (name.empty()) {
        m_writer.SetConnectOutcome(ConnectOutcome::NoPortSelected);
        m_writer.messenger().Show(kMsgSelectComPort, MessageStyle::Warning);
        return;
    }
    m_writer.SetConnectOutcome(ConnectOutcome::None);
    if (!m_writer.OpenBoardPort(name)) {
        m_writer.SetConnectOutcome(ConnectOutcome::OpenFailed);
        return;
    }
    SessionRecord& session = m_writer.session();
    session.login = false;
    host.ShowConnected(true);
    session.isp = false;
    session.portName = name;
    m_writer.RunProgress(ProgressMode::Connect, [this] { StartProbe(); });
}

void ConnectSequence::StartProbe() {
    m_probeCount = 0;
    WriteProbe(100);
}

void ConnectSequence::WriteProbe(int delayMs) {
    m_writer.platform().ArmTimer(kTimerProbe, delayMs);
    CommandChannel& channel = m_writer.channel();
    channel.SetState(kStateProbe);
    channel.SendRaw("\r");
}

void ConnectSequence::OnProbeTimer() {
    m_writer.platform().CancelTimer(kTimerProbe);
    if (++m_probeCount >= kMaxProbes) {
        m_writer.channel().SetState(kStateIdle);
        m_writer.SetConnectOutcome(ConnectOutcome::BoardSilent);
        m_writer.CancelProgressAndDisconnect();
        m_writer.messenger().Show(kMsgInitialSettingFailed, MessageStyle::Warning);
        return;
    }
    WriteProbe(m_probeCount * 200);
}

void ConnectSequence::OnProbeLine(const ReplyLine& line) {
    m_writer.platform().CancelTimer(kTimerProbe);
    m_writer.channel().SetState(kStateIdle);
    if (line.StartsWith("100")) {
        m_writer.session().isp = true;
        m_writer.SetConnectOutcome(ConnectOutcome::IspMode);
        m_writer.CloseProgressIfShown();
        if (m_writer.firmwareWindow() != nullptr) {
            // The firmware window goes on with the transfer.
            m_writer.platform().CancelTimer(kTimerReply5s);
            m_writer.platform().Post([this] {
                if (FirmwareUpgrade* window = m_writer.firmwareWindow()) {
                    window->OnBootLoaderReady();
                }
            });
        } else {
            m_writer.messenger().Show(kMsgIspModeNoScript, MessageStyle::Warning);
        }
        return;
    }
    m_writer.session().isp = false;
    SendSetEsc();
}

void ConnectSequence::SendSetEsc() {
    m_writer.channel().SendCommand("\rset esc 02\r", kStateSetEsc, kTimerReply3s, 3000);
}

void ConnectSequence::OnSetEscFramed(const ReplyLine& line) {
    m_writer.session().auth = false;
    if (line.StartsWith("410 ")) {
        m_writer.platform().CancelTimer(kTimerReply3s);
        m_writer.channel().SetState(kStateIdle);
        m_writer.channel().SendCommand("\rset echo 0\r", kStateSetEcho, kTimerReply1s, 1000);
    } else if (line.StartsWith("504 ")) {
        BeginLogin(kTimerReply3s);
    }
}

void ConnectSequence::OnSetEscUnframed(const ReplyLine& line) {
    SessionRecord& session = m_writer.session();
    session.auth = false;
    if (line.StartsWith("300") && session.isp) {
        m_writer.platform().CancelTimer(kTimerReply3s);
        m_writer.channel().SetState(kStateIdle);
        m_writer.SetConnectOutcome(ConnectOutcome::IspMode);
        m_writer.CancelProgressAndDisconnect();
        m_writer.messenger().Show(kMsgIspModeNoScript, MessageStyle::Warning);
    } else if (line.StartsWith("504")) {
        BeginLogin(kTimerReply3s);
    }
}

void ConnectSequence::OnSetEcho(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    if (line.StartsWith("410 ")) {
        m_writer.platform().CancelTimer(kTimerReply1s);
        m_writer.channel().SetState(kStateIdle);
        SendGetIdPdb();
    } else if (line.StartsWith("504 ")) {
        BeginLogin(kTimerReply1s);
    }
}

void ConnectSequence::SendGetIdPdb() {
    m_writer.channel().SendCommand("get id pdb\r", kStateGetIdPdb, kTimerBulk1s, 1000);
}

void ConnectSequence::OnGetIdPdb(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    if (line.StartsWith("410 O")) {
        m_writer.channel().SetState(kStateIdle);
        m_writer.platform().CancelTimer(kTimerBulk1s);
        SendGetSysKofs();
    } else if (line.StartsWith("501 ")) {
        m_writer.SetConnectOutcome(ConnectOutcome::FirmwareTooOld);
        Refuse(kMsgUpgradeFirmware, kTimerBulk1s);
    } else if (CompatibilityNumber(line.text) != 0) {
        m_writer.SetConnectOutcome(ConnectOutcome::WriterTooOld);
        Refuse(kMsgUseLastWriter, 0);
    }
}

void ConnectSequence::Refuse(int stringId, int timerToCancel) {
    m_writer.channel().SetState(kStateIdle);
    if (timerToCancel != 0) {
        m_writer.platform().CancelTimer(timerToCancel);
    }
    m_writer.CloseProgressIfShown();
    m_writer.messenger().Show(stringId, MessageStyle::Warning);
    m_writer.Disconnect();
}

void ConnectSequence::OnInfoStep(const ReplyLine& line, void (ConnectSequence::*next)()) {
    if (!line.empty() && EndsStep(line)) {
        m_writer.platform().CancelTimer(kTimerReply1s);
        m_writer.channel().SetState(kStateIdle);
        (this->*next)();
    }
}

void ConnectSequence::SendGetSysKofs() {
    m_writer.channel().SendCommand("get sys kofs\r", kStateGetSysKofs, kTimerReply1s, 1000);
}

void ConnectSequence::SendGetState() {
    m_writer.channel().SendCommand("get state 0\r", kStateGetState, kTimerReply1s, 1000);
}

void ConnectSequence::SendGetIdKofs() {
    m_writer.channel().SendCommand("get id kofs\r", kStateGetIdKofs, kTimerReply1s, 1000);
}

void ConnectSequence::SendGetIdFib() {
    m_writer.channel().SendCommand("get id fib\r", kStateGetIdFib, kTimerReply1s, 1000);
}

void ConnectSequence::OnGetIdFib(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    if (EndsStep(line)) {
        OnInfoStep(line, &ConnectSequence::SendGetIdMcu);
    } else {
        m_writer.session().fibId = line.text;
    }
}

void ConnectSequence::SendGetIdMcu() {
    m_writer.channel().SendCommand("get id mcu\r", kStateGetIdMcu, kTimerReply1s, 1000);
}

void ConnectSequence::OnGetIdMcuFramed(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    if (line.StartsWith("410 ") || line.StartsWith("501 ")) {
        m_writer.platform().CancelTimer(kTimerReply1s);
        m_writer.channel().SetState(kStateIdle);
        Finish();
    } else {
        m_writer.session().mcuId = line.text;
    }
}

void ConnectSequence::OnGetIdMcuUnframed(const ReplyLine& line) {
    if (line.StartsWith("get id mcu")) {
        return;  // the board's echo during the login
    }
    if (line.StartsWith("410 ")) {
        m_writer.platform().CancelTimer(kTimerReply1s);
        m_writer.channel().SetState(kStateIdle);
        if (m_writer.session().auth) {
            m_writer.login().PasswordStep();
        }
    } else {
        m_writer.session().mcuId = line.text;
    }
}

void ConnectSequence::Finish() {
    if (m_writer.session().auth) {
        m_writer.login().PasswordStep();
        return;
    }
    m_writer.CloseProgressIfShown();
    m_writer.SetConnectOutcome(ConnectOutcome::Identified);
    const FirmwareUpgrade* window = m_writer.firmwareWindow();
    if (window != nullptr && window->finished()) {
        m_writer.host().CloseFirmwareWindow();
        m_writer.messenger().Show(kMsgFirmwareTransmitted, MessageStyle::Information);
    }
}

void ConnectSequence::BeginLogin(int timerId) {
    m_writer.platform().CancelTimer(timerId);
    m_writer.channel().SetState(kStateIdle);
    m_writer.session().auth = true;
    m_writer.CloseProgressIfShown();
    m_writer.login().LoginRequest();
}

}  // namespace varnow
