#include "firmware/IspTransfer.h"

#include <array>
#include <fstream>
#include <utility>

#include "link/CommandStates.h"
#include "package/PackageMessages.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

constexpr std::size_t kTestBlockSize = 512;
constexpr std::size_t kImageBlockSize = 4096;
constexpr int kWriteAttempts = 10;
constexpr ReplyTimer kGuard{kTimerReply5s, 5000};
// Unlocking, erasing and programming flash have no reply timer of their own; erasing a
// whole firmware area can take many seconds.
constexpr ReplyTimer kStepGuard{kTimerBootLoaderStep, 60000};

struct FlashStep {
    const char* command;
    int state;
};
constexpr std::array<FlashStep, 3> kUnlockErase{{
    {"uf 7b19\r", kStateUnlockFlash},
    {"ef 3de4\r", kStateEraseFlash},
    {"uf 7b19\r", kStateUnlockFlashAgain},
}};

// The pauses between the CRs that reach the boot loader after the reopen.
constexpr std::array<int, 4> kBootLoaderProbePauses{100, 200, 500, 1000};

}  // namespace

IspTransfer::IspTransfer(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger) {}

void IspTransfer::Finish(Done& done, IspOutcome outcome, std::string command) {
    if (Done run = std::exchange(done, nullptr)) {
        run(IspResult{outcome, std::move(command)});
    }
}

Command IspTransfer::Guarded(std::string text, int state, ReplyTimer timer, Done* done) {
    const std::string name = CommandName(text);
    return Command{
        .text = std::move(text),
        .state = state,
        .timer = timer,
        .lines = Lines::Unframed,
        .onTimeout =
            [this, name, done] {
                m_link.channel().End();
                m_link.progress().Close();
                Finish(*done, IspOutcome::TimedOut, name);
            },
        .onPortLost = [done] { Finish(*done, IspOutcome::PortLost); },
    };
}

void IspTransfer::Prepare(Done done) {
    m_prepared = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(m_prepared, IspOutcome::NoBoard);
    }
    if (m_link.session().isp) {
        return Finish(m_prepared, IspOutcome::Done);
    }
    Command command = Guarded("reboot isp 100\r", kStateRebootIsp, kGuard, &m_prepared);
    command.lines = Lines::Both;
    command.onReply = [this](const ReplyLine& line) {
        return line.framed ? OnRebootFramed(line) : OnRebootUnframed(line);
    };
    m_link.channel().Send(std::move(command));
}

Reply IspTransfer::OnRebootFramed(const ReplyLine& line) {
    if (line.StartsWith("4")) {
        // The board restarts into its boot loader; its port goes away and comes back.
        m_link.Disconnect();
        WaitForPort(0);
    }
    return Reply::Pending;
}

void IspTransfer::WaitForPort(int step) {
    Platform& platform = m_link.platform();
    platform.ArmTimer(kTimerPortWait, kPortWaitStepMs, [this, step] {
        m_link.platform().CancelTimer(kTimerPortWait);
        if (m_link.channel().state() != kStateRebootIsp) {
            return;  // the guard expired meanwhile
        }
        const bool back = m_link.platform().ProbePort(m_link.session().portName) == PortProbe::Free;
        if (back || step + 1 >= kPortWaitSteps) {
            ReopenForBootLoader();
        } else {
            WaitForPort(step + 1);
        }
    });
}

void IspTransfer::ReopenForBootLoader() {
    const std::string name = m_link.view().SelectedPort();
    if (name.empty()) {
        m_messenger.Show(kMsgSelectComPort, MessageStyle::Warning);
        return;  // the guard ends the wait
    }
    if (m_link.OpenBoardPort(name).opening != PortOpening::Opened) {
        return;
    }
    m_link.view().ShowConnected(true);
    m_link.session().portName = name;
    SendBootLoaderProbe(0);
}

// Up to four CRs, further apart each time, until the boot loader's answer ends the reboot.
void IspTransfer::SendBootLoaderProbe(int attempt) {
    const int pause = kBootLoaderProbePauses[static_cast<std::size_t>(attempt)];
    m_link.platform().ArmTimer(kTimerBootLoaderProbe, pause, [this, attempt] {
        m_link.platform().CancelTimer(kTimerBootLoaderProbe);
        if (m_link.channel().state() != kStateRebootIsp) {
            return;
        }
        m_link.channel().SendRaw("\r");
        if (attempt + 1 < static_cast<int>(kBootLoaderProbePauses.size())) {
            SendBootLoaderProbe(attempt + 1);
        }
    });
}

Reply IspTransfer::OnRebootUnframed(const ReplyLine& line) {
    if (!line.StartsWith("3") && !line.StartsWith("1")) {
        return Reply::Pending;
    }
    m_link.channel().End();
    m_link.platform().CancelTimer(kTimerBootLoaderProbe);
    m_link.progress().Close();
    Finish(m_prepared, IspOutcome::Done);
    return Reply::Done;
}

void IspTransfer::OnConnectEnded(bool bootLoader) {
    if (m_prepared) {
        // The connect replaced the reboot's command; its answer decides the wait.
        Finish(m_prepared, bootLoader ? IspOutcome::Done : IspOutcome::NotInBootLoader);
    }
}

void IspTransfer::SendTestBlock(std::filesystem::path firmware, Done done) {
    m_firmware = std::move(firmware);
    m_tested = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(m_tested, IspOutcome::NoBoard);
    }
    Command command = Guarded("tf 0\r", kStateTestFlash, kGuard, &m_tested);
    command.onReply = [this](const ReplyLine& line) { return OnTestLine(line); };
    m_link.channel().Send(std::move(command));
}

Reply IspTransfer::OnTestLine(const ReplyLine& line) {
    // "100" answers a probe CR that went out before the boot loader's first answer was seen.
    if (line.empty() || line.StartsWith("tf 0") || line.StartsWith("100")) {
        return Reply::Pending;
    }
    if (line.StartsWith("201")) {
        SendTestBytes();
    } else if (line.StartsWith("202")) {
        m_link.channel().End();
        m_link.platform().ArmTimer(kTimerTestAccepted, 1000, [this] {
            m_link.platform().CancelTimer(kTimerTestAccepted);
            Finish(m_tested, IspOutcome::Done);
        });
    } else {
        m_link.channel().End();
        m_messenger.ShowText("Error - " + line.text, MessageStyle::Warning);
        Finish(m_tested, IspOutcome::Refused, "tf 0");
    }
    return Reply::Pending;
}

void IspTransfer::SendTestBytes() {
    std::ifstream file(m_firmware, std::ios::binary);
    if (!file) {
        m_link.channel().End();
        m_messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return Finish(m_tested, IspOutcome::FileUnreadable);
    }
    std::array<char, kTestBlockSize> block{};
    file.read(block.data(), block.size());
    const std::size_t count = static_cast<std::size_t>(file.gcount());
    if (count > 0 && m_link.portOpen()) {
        m_link.channel().SendRaw(std::string_view(block.data(), count));
    }
}

void IspTransfer::Program(std::filesystem::path firmware, ProgramListener listener, Done done) {
    m_firmware = std::move(firmware);
    m_listener = std::move(listener);
    m_programmed = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(m_programmed, IspOutcome::NoBoard);
    }
    SendUnlockOrErase(0);
}

void IspTransfer::SendUnlockOrErase(int step) {
    const FlashStep& flash = kUnlockErase[static_cast<std::size_t>(step)];
    Command command = Guarded(flash.command, flash.state, kStepGuard, &m_programmed);
    command.onReply = [this, step](const ReplyLine& line) {
        return OnUnlockOrEraseLine(step, line);
    };
    m_link.channel().Send(std::move(command));
}

Reply IspTransfer::OnUnlockOrEraseLine(int step, const ReplyLine& line) {
    const std::string echo = CommandName(kUnlockErase[static_cast<std::size_t>(step)].command);
    if (line.StartsWith(echo)) {
        return Reply::Pending;
    }
    if (!line.StartsWith("200")) {
        m_link.channel().End();
        Finish(m_programmed, IspOutcome::Refused, echo);
    } else if (step + 1 < static_cast<int>(kUnlockErase.size())) {
        SendUnlockOrErase(step + 1);
    } else {
        SendProgram();
    }
    return Reply::Pending;
}

void IspTransfer::SendProgram() {
    Command command = Guarded("pf 92a6\r", kStateProgramFlash, kGuard, &m_programmed);
    command.onReply = [this](const ReplyLine& line) { return OnProgramLine(line); };
    m_link.channel().Send(std::move(command));
}

Reply IspTransfer::OnProgramLine(const ReplyLine& line) {
    if (line.StartsWith("201")) {
        m_link.channel().CancelReplyTimer();
        TransferImage();
    } else if (line.StartsWith("204")) {
        OnProgrammed();
    } else if (line.StartsWith("r 10")) {
        m_link.session().isp = false;
    } else if (line.StartsWith("3")) {
        m_link.channel().End();
        m_messenger.ShowText(line.text, MessageStyle::Warning);
        Finish(m_programmed, IspOutcome::Refused, "pf 92a6");
    }
    return Reply::Pending;
}

void IspTransfer::TransferImage() {
    Platform& platform = m_link.platform();
    std::ifstream file(m_firmware, std::ios::binary);
    if (!file) {
        m_link.channel().End();
        m_messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return Finish(m_programmed, IspOutcome::FileUnreadable);
    }
    std::array<char, kImageBlockSize> block{};
    long long sent = 0;
    while (true) {
        file.read(block.data(), block.size());
        const std::size_t count = static_cast<std::size_t>(file.gcount());
        if (count == 0) {
            break;
        }
        if (!m_link.portOpen()) {
            return Finish(m_programmed, IspOutcome::PortLost);
        }
        const std::string_view bytes(block.data(), count);
        std::size_t written = m_link.channel().SendRaw(bytes);
        for (int attempt = 1; written == 0 && attempt < kWriteAttempts; ++attempt) {
            platform.Sleep(10);
            written = m_link.channel().SendRaw(bytes);
        }
        if (written == 0) {
            platform.PumpEvents();  // a vanished port is reported as such
            if (!m_programmed) {
                return;
            }
            m_link.channel().End();
            return Finish(m_programmed, IspOutcome::SendFailed, "pf 92a6");
        }
        sent += static_cast<long long>(count);
        if (m_listener.progress) {
            m_listener.progress(sent);
        }
        platform.PumpEvents();
        if (!m_programmed) {
            return;  // the port vanished meanwhile and the step has ended
        }
    }
    if (m_listener.imageSent) {
        m_listener.imageSent();
    }
    // The boot loader programs what it received and then says "204".
    m_link.channel().ArmReplyTimer(kStepGuard);
}

void IspTransfer::OnProgrammed() {
    if (!m_link.portOpen()) {
        m_link.channel().End();
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(m_programmed, IspOutcome::NoBoard);
    }
    m_link.channel().CancelReplyTimer();
    m_link.session().reconnectPending = true;
    m_link.channel().SendRaw("rs 10\r");
    m_link.Disconnect();
    Finish(m_programmed, IspOutcome::Done);
}

}  // namespace varnow
