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

void IspTransfer::Finish(IspOutcome outcome, std::string command) {
    m_link.CancelTimer(kTimerPortWait);
    m_link.CancelTimer(kTimerBootLoaderProbe);
    if (Done run = std::exchange(m_done, nullptr)) {
        run(IspResult{outcome, std::move(command)});
    }
}

Command IspTransfer::Guarded(std::string text, int state, ReplyTimer timer) {
    return Command{
        .text = std::move(text), .state = state, .timer = timer, .lines = Lines::Unframed};
}

void IspTransfer::OnTimedOut(const std::string& command) {
    m_link.progress().Close();
    Finish(IspOutcome::TimedOut, command);
}

void IspTransfer::OnPortLost() {
    Finish(IspOutcome::PortLost);
}

void IspTransfer::Prepare(Done done) {
    m_done = std::move(done);
    m_bootLoaderReached = false;
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(IspOutcome::NoBoard);
    }
    if (m_link.session().isp) {
        m_bootLoaderReached = true;
        return Finish(IspOutcome::Done);
    }
    m_portName = m_link.session().portName;
    Command command = Guarded("reboot isp 100\r", kStateRebootIsp, kGuard);
    command.lines = Lines::Both;
    command.onReply = [this](const ReplyLine& line) {
        return line.framed ? OnRebootFramed(line) : OnRebootUnframed(line);
    };
    Send(std::move(command));
}

Reply IspTransfer::OnRebootFramed(const ReplyLine& line) {
    if (line.StartsWith("4")) {
        // The board restarts into its boot loader; its port goes away and comes back.
        m_bootLoaderReached = true;
        m_link.session().restarting = true;
        m_watch.Begin(m_link.platform(), m_portName);
        m_link.Disconnect();
        WaitForPort(0);
    }
    return Reply::Pending;
}

void IspTransfer::WaitForPort(int step) {
    m_link.After(kTimerPortWait, kPortWaitStepMs, [this, step] {
        // The boot loader may come back under another name: wherever the board's USB
        // identity or a new port shows it. Its own path counts once seen gone, or after the
        // grace of a restart quicker than the looks.
        Platform& platform = m_link.platform();
        m_watch.Look(platform, (step + 1) * kPortWaitStepMs >= kDepartureGraceMs);
        const std::optional<std::string> port = m_watch.FreePort(platform);
        if (port) {
            m_portName = *port;
        }
        if (port || step + 1 >= kPortWaitSteps) {
            ReopenForBootLoader();
        } else {
            WaitForPort(step + 1);
        }
    });
}

void IspTransfer::ReopenForBootLoader() {
    if (m_link.OpenBoardPort(m_portName, m_messenger).opening != PortOpening::Opened) {
        return;  // the guard ends the wait
    }
    m_link.session().restarting = false;
    m_link.view().ShowConnected(true);
    m_link.session().portName = m_portName;
    SendBootLoaderProbe(0);
}

// Up to four CRs, further apart each time, until the boot loader's answer ends the reboot.
void IspTransfer::SendBootLoaderProbe(int attempt) {
    const int pause = kBootLoaderProbePauses[static_cast<std::size_t>(attempt)];
    m_link.After(kTimerBootLoaderProbe, pause, [this, attempt] {
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
    m_link.session().isp = true;
    m_link.progress().Close();
    Finish(IspOutcome::Done);
    return Reply::Done;
}

void IspTransfer::SendTestBlock(std::filesystem::path firmware, Done done) {
    m_firmware = std::move(firmware);
    m_done = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(IspOutcome::NoBoard);
    }
    Command command = Guarded("tf 0\r", kStateTestFlash, kGuard);
    command.onReply = [this](const ReplyLine& line) { return OnTestLine(line); };
    Send(std::move(command));
}

Reply IspTransfer::OnTestLine(const ReplyLine& line) {
    // "100" answers a probe CR that went out before the boot loader's first answer was seen.
    if (line.empty() || line.StartsWith("tf 0") || line.StartsWith("100")) {
        return Reply::Pending;
    }
    if (line.StartsWith("201")) {
        SendTestBytes();
        return Reply::Pending;
    }
    if (line.StartsWith("202")) {
        m_link.After(kTimerTestAccepted, 1000, [this] { Finish(IspOutcome::Done); });
    } else {
        m_messenger.ShowText("Error - " + line.text, MessageStyle::Warning);
        Finish(IspOutcome::Refused, "tf 0");
    }
    return Reply::Done;
}

void IspTransfer::SendTestBytes() {
    std::ifstream file(m_firmware, std::ios::binary);
    if (!file) {
        m_link.channel().End();
        m_messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return Finish(IspOutcome::FileUnreadable);
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
    m_done = std::move(done);
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(IspOutcome::NoBoard);
    }
    SendUnlockOrErase(0);
}

void IspTransfer::SendUnlockOrErase(int step) {
    const FlashStep& flash = kUnlockErase[static_cast<std::size_t>(step)];
    Command command = Guarded(flash.command, flash.state, kStepGuard);
    command.onReply = [this, step](const ReplyLine& line) {
        return OnUnlockOrEraseLine(step, line);
    };
    Send(std::move(command));
}

Reply IspTransfer::OnUnlockOrEraseLine(int step, const ReplyLine& line) {
    const std::string echo = CommandName(kUnlockErase[static_cast<std::size_t>(step)].command);
    if (line.StartsWith(echo)) {
        return Reply::Pending;
    }
    if (!line.StartsWith("200")) {
        Finish(IspOutcome::Refused, echo);
        return Reply::Done;
    }
    if (step + 1 < static_cast<int>(kUnlockErase.size())) {
        SendUnlockOrErase(step + 1);
    } else {
        SendProgram();
    }
    return Reply::Pending;
}

void IspTransfer::SendProgram() {
    Command command = Guarded("pf 92a6\r", kStateProgramFlash, kGuard);
    command.onReply = [this](const ReplyLine& line) { return OnProgramLine(line); };
    Send(std::move(command));
}

Reply IspTransfer::OnProgramLine(const ReplyLine& line) {
    if (line.StartsWith("201")) {
        m_link.channel().CancelReplyTimer();
        TransferImage();
    } else if (line.StartsWith("204")) {
        OnProgrammed();
        return Reply::Done;
    } else if (line.StartsWith("r 10")) {
        m_link.session().isp = false;
    } else if (line.StartsWith("3")) {
        m_messenger.ShowText(line.text, MessageStyle::Warning);
        Finish(IspOutcome::Refused, "pf 92a6");
        return Reply::Done;
    }
    return Reply::Pending;
}

void IspTransfer::TransferImage() {
    Platform& platform = m_link.platform();
    std::ifstream file(m_firmware, std::ios::binary);
    if (!file) {
        m_link.channel().End();
        m_messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return Finish(IspOutcome::FileUnreadable);
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
            return Finish(IspOutcome::PortLost);
        }
        const std::string_view bytes(block.data(), count);
        std::size_t written = m_link.channel().SendRaw(bytes);
        for (int attempt = 1; written == 0 && attempt < kWriteAttempts; ++attempt) {
            platform.Sleep(10);
            written = m_link.channel().SendRaw(bytes);
        }
        if (written == 0) {
            platform.PumpEvents();  // a vanished port is reported as such
            if (!m_done) {
                return;
            }
            m_link.channel().End();
            return Finish(m_link.portGone() ? IspOutcome::PortLost : IspOutcome::SendFailed,
                          "pf 92a6");
        }
        sent += static_cast<long long>(count);
        if (m_listener.progress) {
            m_listener.progress(sent);
        }
        platform.PumpEvents();
        if (!m_done) {
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
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(IspOutcome::NoBoard);
    }
    m_link.session().reconnectPending = true;
    m_link.channel().SendRaw("rs 10\r");
    m_link.Disconnect();
    Finish(IspOutcome::Done);
}

}  // namespace varnow
