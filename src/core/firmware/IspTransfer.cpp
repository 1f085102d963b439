#include "firmware/IspTransfer.h"

#include <array>
#include <fstream>

#include "firmware/FirmwareUpgrade.h"
#include "link/CommandStates.h"
#include "package/PackageMessages.h"
#include "session/Writer.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {
constexpr std::size_t kTestBlockSize = 512;
constexpr std::size_t kImageBlockSize = 4096;
constexpr int kWriteAttempts = 10;
}  // namespace

IspTransfer::IspTransfer(Writer& writer) : m_writer(writer) {
    CommandChannel& channel = writer.channel();
    channel.OnFramed(kStateRebootIsp, [this](const ReplyLine& l) { OnRebootFramed(l); });
    channel.OnUnframed(kStateRebootIsp, [this](const ReplyLine& l) { OnRebootUnframed(l); });
    channel.OnUnframed(kStateTestFlash, [this](const ReplyLine& l) { OnTestLine(l); });
    channel.OnUnframed(kStateUnlockFlash, [this](const ReplyLine& l) {
        OnUnlockEraseLine(l, "uf 7b19", &IspTransfer::SendErase);
    });
    channel.OnUnframed(kStateEraseFlash, [this](const ReplyLine& l) {
        OnUnlockEraseLine(l, "ef 3de4", &IspTransfer::SendSecondUnlock);
    });
    channel.OnUnframed(kStateUnlockFlashAgain, [this](const ReplyLine& l) {
        OnUnlockEraseLine(l, "uf 7b19", &IspTransfer::SendProgram);
    });
    channel.OnUnframed(kStateProgramFlash, [this](const ReplyLine& l) { OnProgramLine(l); });
}

bool IspTransfer::Prepare(FirmwareUpgrade&) {
    if (!m_writer.platform().Port().IsOpen()) {
        m_writer.messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        return false;
    }
    if (m_writer.session().isp) {
        return true;
    }
    m_writer.channel().SendCommand("reboot isp 100\r", kStateRebootIsp, kTimerReply5s, 5000);
    return false;
}

void IspTransfer::OnRebootFramed(const ReplyLine& line) {
    if (!line.StartsWith("4")) {
        return;
    }
    // The board restarts into its boot loader; its port goes away and comes back.
    m_writer.Disconnect();
    WaitForPortAndReopen();
}

void IspTransfer::WaitForPortAndReopen() {
    Platform& platform = m_writer.platform();
    const std::string port = m_writer.session().portName;
    for (int pass = 0; pass < kPortWaitSteps; ++pass) {
        platform.Sleep(kPortWaitStepMs);
        platform.PumpEvents();
        if (m_writer.channel().state() != kStateRebootIsp) {
            return;  // the guard expired meanwhile: the window has been told
        }
        if (platform.ProbePort(port) == PortProbe::Free) {
            break;
        }
    }
    m_writer.ReopenForBootLoader();
}

void IspTransfer::OnRebootUnframed(const ReplyLine& line) {
    if (line.StartsWith("3") || line.StartsWith("1")) {
        m_writer.platform().CancelTimer(kTimerReply5s);
        m_writer.CloseProgressIfShown();
        m_writer.platform().Post([this] {
            if (FirmwareUpgrade* window = m_writer.firmwareWindow()) {
                window->OnBootLoaderReady();
            }
        });
    }
}

bool IspTransfer::SendTestBlock(const std::filesystem::path& firmware) {
    m_firmware = firmware;
    if (!m_writer.platform().Port().IsOpen()) {
        m_writer.messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        return false;
    }
    m_writer.channel().SendCommand("tf 0\r", kStateTestFlash, kTimerReply5s, 5000);
    return true;
}

void IspTransfer::OnTestLine(const ReplyLine& line) {
    // "100" answers a probe CR that went out before the boot loader's first answer was seen.
    if (line.empty() || line.StartsWith("tf 0") || line.StartsWith("100")) {
        return;
    }
    Platform& platform = m_writer.platform();
    if (line.StartsWith("201")) {
        std::ifstream file(m_firmware, std::ios::binary);
        if (!file) {
            platform.CancelTimer(kTimerReply5s);
            m_writer.messenger().ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
            return;
        }
        std::array<char, kTestBlockSize> block{};
        file.read(block.data(), block.size());
        const std::size_t count = static_cast<std::size_t>(file.gcount());
        if (count > 0 && platform.Port().IsOpen()) {
            m_writer.channel().SendRaw(std::string_view(block.data(), count));
        }
    } else if (line.StartsWith("202")) {
        platform.CancelTimer(kTimerReply5s);
        m_writer.channel().SetState(kStateIdle);
        platform.Sleep(1000);
        platform.Post([this] {
            if (FirmwareUpgrade* window = m_writer.firmwareWindow()) {
                window->OnTestAccepted();
            }
        });
    } else {
        m_writer.channel().SetState(kStateIdle);
        m_writer.messenger().ShowText("Error - " + line.text, MessageStyle::Warning);
    }
}

bool IspTransfer::Program(const std::filesystem::path& firmware) {
    m_firmware = firmware;
    if (!m_writer.platform().Port().IsOpen()) {
        m_writer.messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        return false;
    }
    m_writer.channel().SetState(kStateUnlockFlash);
    m_writer.channel().SendRaw("uf 7b19\r");
    return true;
}

void IspTransfer::OnUnlockEraseLine(const ReplyLine& line, const char* echo,
                                    void (IspTransfer::*next)()) {
    if (line.StartsWith(echo)) {
        return;
    }
    if (line.StartsWith("200")) {
        (this->*next)();
    } else {
        PostEnded(false);
    }
}

void IspTransfer::SendErase() {
    m_writer.channel().SetState(kStateEraseFlash);
    m_writer.channel().SendRaw("ef 3de4\r");
}

void IspTransfer::SendSecondUnlock() {
    m_writer.channel().SetState(kStateUnlockFlashAgain);
    m_writer.channel().SendRaw("uf 7b19\r");
}

void IspTransfer::SendProgram() {
    m_writer.channel().SendCommand("pf 92a6\r", kStateProgramFlash, kTimerReply5s, 5000);
}

void IspTransfer::OnProgramLine(const ReplyLine& line) {
    CommandChannel& channel = m_writer.channel();
    if (line.StartsWith("201")) {
        m_writer.platform().CancelTimer(kTimerReply5s);
        TransferImage();
    } else if (line.StartsWith("204")) {
        if (m_writer.platform().Port().IsOpen()) {
            m_writer.session().reconnectPending = true;
            channel.SendRaw("rs 10\r");
            m_writer.Disconnect();
            // The connection is to be made again once the board is back.
            m_writer.SetConnectOutcome(ConnectOutcome::None);
        } else {
            m_writer.messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        }
    } else if (line.StartsWith("r 10")) {
        channel.SetState(kStateIdle);
        m_writer.session().isp = false;
    } else if (line.StartsWith("3")) {
        channel.SetState(kStateIdle);
        m_writer.messenger().ShowText(line.text, MessageStyle::Warning);
    }
}

void IspTransfer::TransferImage() {
    Platform& platform = m_writer.platform();
    std::ifstream file(m_firmware, std::ios::binary);
    if (!file) {
        m_writer.channel().SetState(kStateIdle);
        m_writer.messenger().ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        PostEnded(false);
        return;
    }
    std::array<char, kImageBlockSize> block{};
    long long sent = 0;
    while (true) {
        file.read(block.data(), block.size());
        const std::size_t count = static_cast<std::size_t>(file.gcount());
        if (count == 0) {
            break;
        }
        if (!platform.Port().IsOpen()) {
            PostEnded(false);
            return;
        }
        const std::string_view bytes(block.data(), count);
        std::size_t written = m_writer.channel().SendRaw(bytes);
        for (int attempt = 1; written == 0 && attempt < kWriteAttempts; ++attempt) {
            platform.Sleep(10);
            written = m_writer.channel().SendRaw(bytes);
        }
        if (written == 0) {
            // The firmware window reports the failure itself; the same message twice would
            // only be noise.
            if (m_writer.firmwareWindow() == nullptr) {
                m_writer.messenger().Show(kMsgFirmwareChangeFailed, MessageStyle::Warning);
            }
            PostEnded(false);
            return;
        }
        sent += static_cast<long long>(count);
        if (FirmwareUpgrade* window = m_writer.firmwareWindow()) {
            window->OnProgress(sent);
        }
        platform.PumpEvents();
    }
    PostEnded(true);
}

void IspTransfer::PostEnded(bool success) {
    // Looked up when the message arrives: the window may have closed meanwhile.
    m_writer.platform().Post([this, success] {
        if (FirmwareUpgrade* window = m_writer.firmwareWindow()) {
            window->OnEnded(success);
        }
    });
}

}  // namespace varnow
