#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "link/ReturnWatch.h"
#include "session/Chain.h"
#include "ui/Messenger.h"

namespace varnow {

enum class IspOutcome {
    Done,
    NoBoard,          // the port was not open
    TimedOut,         // a guarded step got no answer in time
    Refused,          // the boot loader answered with an error
    FileUnreadable,   // the firmware file could not be opened
    SendFailed,       // a block of the image could not be written
    PortLost,         // the port closed during the step
    NotInBootLoader,  // a connect found the board, but not in its boot loader
};

using IspResult = Outcome<IspOutcome>;

// The tool's side of a firmware upgrade: switches the board into its ISP boot loader, waits
// for its port to come back and reaches the boot loader, then talks to it: test block,
// unlock, erase, unlock, program, the whole image, reset. Each step ends with an outcome.
class IspTransfer : private Chain {
public:
    using Done = std::function<void(const IspResult&)>;
    struct ProgramListener {
        std::function<void(long long sent)> progress;
        std::function<void()> imageSent;  // the boot loader has the whole image
    };

    // The port is looked for every 200 ms for at most 4 s after the board accepted the reboot,
    // so that the reopen happens well inside the 5-second guard.
    static constexpr int kPortWaitStepMs = 200;
    static constexpr int kPortWaitSteps = 20;
    static constexpr int kDepartureGraceMs = 1000;

    IspTransfer(BoardLink& link, Messenger& messenger) : Chain(link), m_messenger(messenger) {}

    // Done at once when the board is in its boot loader already; otherwise once it has
    // restarted into it and answered.
    void Prepare(Done done);
    // "tf 0" and the first 512 bytes of the file; done a second after the boot loader took it.
    void SendTestBlock(std::filesystem::path firmware, Done done);
    // Unlock, erase, unlock, program and the image; done when the boot loader reported the
    // image programmed and the board was told to restart (the port is then closed).
    void Program(std::filesystem::path firmware, ProgramListener listener, Done done);
    bool running() const { return static_cast<bool>(m_done); }
    // The board was told to go to its boot loader: from here it may be left there.
    bool bootLoaderReached() const { return m_bootLoaderReached; }

private:
    Command Guarded(std::string text, int state, ReplyTimer timer);
    Reply OnRebootFramed(const ReplyLine& line);
    Reply OnRebootUnframed(const ReplyLine& line);
    void WaitForPort(int step);
    void ReopenForBootLoader();
    void SendBootLoaderProbe(int attempt);
    Reply OnTestLine(const ReplyLine& line);
    void SendTestBytes();
    void SendUnlockOrErase(int step);
    Reply OnUnlockOrEraseLine(int step, const ReplyLine& line);
    void SendProgram();
    Reply OnProgramLine(const ReplyLine& line);
    void TransferImage();
    void OnProgrammed();
    void OnTimedOut(const std::string& command) override;
    void OnPortLost() override;
    void Finish(IspOutcome outcome, std::string command = {});

    Messenger& m_messenger;
    std::filesystem::path m_firmware;
    ProgramListener m_listener;
    std::string m_portName;  // where the board was before it restarted into its boot loader
    ReturnWatch m_watch;     // and where it may have come back
    bool m_bootLoaderReached = false;
    Done m_done;  // of the step under way
};

}  // namespace varnow
