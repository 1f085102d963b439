#pragma once

#include <filesystem>

#include "link/ReplyLine.h"

namespace varnow {

class Writer;
class FirmwareUpgrade;

// The main window's side of a firmware upgrade: switches the board into its ISP boot loader,
// waits for its port to come back, and talks to the boot loader: test block, unlock, erase,
// unlock, program, the whole image, reset. Tells the firmware window how it goes.
class IspTransfer {
public:
    // Longest wait for the board's port after "reboot isp 100" was accepted: the reopen then
    // happens well inside the 5-second guard of the reboot.
    static constexpr int kPortWaitStepMs = 200;
    static constexpr int kPortWaitSteps = 20;

    explicit IspTransfer(Writer& writer);

    // True when the board is already in its boot loader (go on at once); false while it
    // reboots into it (the window hears back) or when the port is closed.
    bool Prepare(FirmwareUpgrade& window);
    bool SendTestBlock(const std::filesystem::path& firmware);
    bool Program(const std::filesystem::path& firmware);

private:
    void OnRebootFramed(const ReplyLine& line);
    void OnRebootUnframed(const ReplyLine& line);
    void OnTestLine(const ReplyLine& line);
    void OnUnlockEraseLine(const ReplyLine& line, const char* echo, void (IspTransfer::*next)());
    void OnProgramLine(const ReplyLine& line);
    void WaitForPortAndReopen();
    void SendErase();
    void SendSecondUnlock();
    void SendProgram();
    void TransferImage();
    // The firmware window hears of it later, as a posted message.
    void PostEnded(bool success);

    Writer& m_writer;
    std::filesystem::path m_firmware;
};

}  // namespace varnow
