#include "firmware/FirmwareUpgrade.h"

#include "package/PackageChecks.h"
#include "package/PackageFile.h"
#include "package/PackageFormat.h"
#include "package/PackageMessages.h"
#include "ui/MessageIds.h"

namespace varnow {
namespace {

FirmwareOutcome OutcomeOf(IspOutcome outcome) {
    switch (outcome) {
        case IspOutcome::NoBoard:
            return FirmwareOutcome::NoBoard;
        case IspOutcome::TimedOut:
            return FirmwareOutcome::TimedOut;
        case IspOutcome::Refused:
        case IspOutcome::NotInBootLoader:
            return FirmwareOutcome::Refused;
        case IspOutcome::FileUnreadable:
            return FirmwareOutcome::FileRefused;
        case IspOutcome::SendFailed:
            return FirmwareOutcome::SendFailed;
        case IspOutcome::PortLost:
        case IspOutcome::Done:
            break;
    }
    return FirmwareOutcome::BoardLost;
}

}  // namespace

const char* FirmwareOutcomeName(FirmwareOutcome outcome) {
    switch (outcome) {
        case FirmwareOutcome::Upgraded:
            return "upgraded";
        case FirmwareOutcome::FileRefused:
            return "file-refused";
        case FirmwareOutcome::NoBoard:
            return "no-board";
        case FirmwareOutcome::TimedOut:
            return "timed-out";
        case FirmwareOutcome::Refused:
            return "refused";
        case FirmwareOutcome::SendFailed:
            return "send-failed";
        case FirmwareOutcome::BoardLost:
            return "board-lost";
        case FirmwareOutcome::NotBack:
            return "not-back";
        case FirmwareOutcome::ReconnectFailed:
            return "reconnect-failed";
        case FirmwareOutcome::Cancelled:
            return "cancelled";
    }
    return "unknown";
}

FirmwareUpgrade::FirmwareUpgrade(BoardLink& link, Messenger& messenger, FirmwareWindowView& view,
                                 IspTransfer& isp, AwaitReturn awaitReturn)
    : m_link(link),
      m_messenger(messenger),
      m_view(view),
      m_isp(isp),
      m_awaitReturn(std::move(awaitReturn)) {}

void FirmwareUpgrade::Start(std::filesystem::path path, Done done) {
    m_done = std::move(done);
    m_path = std::move(path);
    m_state = FirmwareWindowState{m_messenger.Text(kTextStandby)};
    m_imageSent = false;
    m_open = true;
    m_view.FirmwareWindowShown(m_state);
    m_link.After(kCheckTimer, 10, [this] { CheckFile(); });
}

void FirmwareUpgrade::CheckFile() {
    const FileRead file = ReadFileBytes(m_path, kMaxPackageFileBytes);
    if (file.status == FileReadStatus::CannotOpen) {
        m_messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return Finish(FirmwareOutcome::FileRefused);
    }
    m_state.total = static_cast<long long>(file.fileSize);
    if (file.status != FileReadStatus::Ok || !FirmwareImageIsSound(file.bytes)) {
        m_messenger.ShowText(kFirmwareFileIsIncorrect, MessageStyle::Warning);
        return Finish(FirmwareOutcome::FileRefused);
    }
    m_state.sent = 0;
    m_state.status = m_messenger.Text(kTextStandby);
    m_state.step = FirmwareStep::Preparing;
    Changed();
    m_isp.Prepare([this](const IspResult& result) { OnPrepared(result); });
}

void FirmwareUpgrade::OnPrepared(const IspResult& result) {
    if (!running()) {
        return;  // the user closed the window meanwhile
    }
    if (result.code == IspOutcome::NoBoard) {
        // Nothing was asked of the board; the window waits for its user.
        return Finish(FirmwareOutcome::NoBoard);
    }
    if (result.code != IspOutcome::Done) {
        return Failed(result);
    }
    m_state.enabled = false;
    Changed();
    m_isp.SendTestBlock(m_path, [this](const IspResult& tested) { OnTested(tested); });
}

void FirmwareUpgrade::OnTested(const IspResult& result) {
    if (result.code != IspOutcome::Done) {
        return Failed(result);
    }
    m_isp.Program(m_path,
                  IspTransfer::ProgramListener{
                      [this](long long sent) { OnProgress(sent); },
                      [this] { OnImageSent(); },
                  },
                  [this](const IspResult& programmed) { OnProgrammed(programmed); });
}

void FirmwareUpgrade::OnProgress(long long sent) {
    m_state.sent = sent;
    m_state.step = FirmwareStep::Transferring;
    m_state.standby = false;
    m_state.status = std::to_string(m_state.total > 0 ? sent * 100 / m_state.total : 0) + "%";
    Changed();
}

void FirmwareUpgrade::OnImageSent() {
    m_imageSent = true;
    m_state.enabled = true;
    m_state.sent = m_state.total;
    m_state.finished = true;
    m_state.step = FirmwareStep::Programming;
    m_state.status = m_messenger.Text(kMsgFirmwareTransmitted);
    Changed();
}

void FirmwareUpgrade::OnProgrammed(const IspResult& result) {
    if (result.code != IspOutcome::Done) {
        return Failed(result);
    }
    m_state.step = FirmwareStep::Restarting;
    Changed();
    m_awaitReturn([this](const std::optional<ConnectResult>& connect) { OnReturned(connect); });
}

void FirmwareUpgrade::OnReturned(const std::optional<ConnectResult>& connect) {
    if (!connect) {
        m_messenger.Show(kMsgBoardNotBack, MessageStyle::Warning);
        return Finish(FirmwareOutcome::NotBack);
    }
    if (connect->code != ConnectOutcome::Identified) {
        return Finish(FirmwareOutcome::ReconnectFailed, {}, *connect);
    }
    if (m_open) {
        CloseView();
        m_messenger.Show(kMsgFirmwareTransmitted, MessageStyle::Information);
    }
    Finish(FirmwareOutcome::Upgraded);
}

// The status and the bar keep what they showed (the dots go on before any progress).
void FirmwareUpgrade::Failed(const IspResult& result) {
    m_state.enabled = true;
    Changed();
    m_messenger.Show(kMsgFirmwareChangeFailed, MessageStyle::Warning);
    Finish(OutcomeOf(result.code), result.command);
}

bool FirmwareUpgrade::CloseWindow() {
    if (!m_open || !m_state.enabled) {
        return false;
    }
    CloseView();
    if (running() && !m_imageSent) {
        Finish(FirmwareOutcome::Cancelled);
    }
    return true;
}

void FirmwareUpgrade::Changed() {
    if (m_open) {
        m_view.FirmwareWindowChanged(m_state);
    }
}

void FirmwareUpgrade::CloseView() {
    m_link.CancelTimer(kCheckTimer);
    m_open = false;
    m_view.FirmwareWindowClosed();
}

void FirmwareUpgrade::Finish(FirmwareOutcome outcome, std::string command,
                             ConnectResult reconnect) {
    if (Done done = std::exchange(m_done, nullptr)) {
        done(FirmwareResult{{outcome, std::move(command)}, std::move(reconnect)});
    }
}

}  // namespace varnow
