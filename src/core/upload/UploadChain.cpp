#include "upload/UploadChain.h"

#include <chrono>
#include <utility>

#include "base64/Base64Encoder.h"
#include "link/CommandStates.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/RecordNames.h"
#include "package/VerifyFirmwareImage.h"
#include "ui/MessageIds.h"
#include "upload/UploadText.h"

namespace varnow {
namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr int kWriteAttempts = 10;

}  // namespace

const char* UploadOutcomeName(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::Verified:
            return "verified";
        case UploadOutcome::HashMismatch:
            return "hash-mismatch";
        case UploadOutcome::Unverified:
            return "unverified";
        case UploadOutcome::PackageRefused:
            return "package-refused";
        case UploadOutcome::ProductMismatch:
            return "product-mismatch";
        case UploadOutcome::IspMode:
            return "isp-mode";
        case UploadOutcome::NoBoard:
            return "no-board";
        case UploadOutcome::TimedOut:
            return "timed-out";
        case UploadOutcome::Stalled:
            return "stalled";
        case UploadOutcome::SendFailed:
            return "send-failed";
        case UploadOutcome::BoardLost:
            return "board-lost";
        case UploadOutcome::FirmwareOnly:
            return "firmware-only";
        case UploadOutcome::Unchanged:
            return "unchanged";
        case UploadOutcome::DryRun:
            return "dry-run";
    }
    return "unknown";
}

std::string UploadChain::imageName() const {
    const std::string name = m_package ? ImageName(m_package->image()) : std::string();
    return !name.empty() || !m_package ? name : m_package->packagePath().filename().string();
}

UploadChain::UploadChain(BoardLink& link, Messenger& messenger)
    : Chain(link), m_messenger(messenger), m_headRead(link) {}

void UploadChain::Start(LoadedPackage& package, UploadOptions options,
                        std::filesystem::path extractionFolder, Done done) {
    m_done = std::move(done);
    m_options = options;
    m_package = &package;
    m_extractionFolder = std::move(extractionFolder);
    m_progressShown = false;
    m_erased = false;
    m_stage = UploadStage::Checking;
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(UploadOutcome::NoBoard);
    }
    if (package.packagePath().empty()) {
        m_messenger.Show(kMsgChoosePackage, MessageStyle::Warning);
        return Finish(UploadOutcome::PackageRefused);
    }
    m_kind = ClassifyPackage(package.packagePath(), m_messenger);
    switch (m_kind) {
        case PackageKind::Image:
        case PackageKind::ImageAndFirmware:
            if (m_link.session().isp) {
                m_messenger.Show(kMsgIspModeRefusal, MessageStyle::Warning);
                return Finish(UploadOutcome::IspMode);
            }
            m_headRead.Start([this](const Outcome<ReadOutcome>& read, const Bytes& head) {
                OnHeadRead(read, head);
            });
            break;
        case PackageKind::Firmware:
            Finish(UploadOutcome::FirmwareOnly);
            break;
        default:
            Finish(UploadOutcome::PackageRefused);
            break;
    }
}

void UploadChain::OnHeadRead(const Outcome<ReadOutcome>& read, const Bytes& head) {
    if (read.code == ReadOutcome::Stalled) {
        return Finish(UploadOutcome::Stalled, read.command);
    }
    if (read.code == ReadOutcome::PortLost) {
        return Finish(UploadOutcome::BoardLost);
    }
    if (!LoadPackage(*m_package, m_extractionFolder, m_messenger)) {
        return Finish(UploadOutcome::PackageRefused);
    }
    if (!PrepareUpload(head)) {
        return;
    }
    if (m_options.dryRun) {
        return Finish(UploadOutcome::DryRun);
    }
    if (m_options.skipUnchanged) {
        return AskForHeldHash();
    }
    ShowProgressAndErase();
}

void UploadChain::AskForHeldHash() {
    m_heldHash.clear();
    Send(Command{
        .text = "get id kofs hash\r",
        .state = kStateGetKofsHash,
        .timer = {kTimerBulk1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnHeldHashLine(line); },
        .onTimeout = [this] { Finish(UploadOutcome::Stalled, "get id kofs hash"); },
    });
}

Reply UploadChain::OnHeldHashLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    const bool ok = line.StartsWith("410 O");
    if (!ok && !line.StartsWith("501 ")) {
        m_heldHash = line.text;
        return Reply::Pending;
    }
    // A board that cannot tell what it holds is written, as without the option.
    if (ok && !m_heldHash.empty() && m_heldHash == m_imageHash) {
        Finish(UploadOutcome::Unchanged);
    } else {
        m_link.channel().End();
        ShowProgressAndErase();
    }
    return Reply::Done;
}

void UploadChain::ShowProgressAndErase() {
    m_progressShown = true;
    m_link.progress().Show(ProgressMode::Upload, m_messenger.Text(kTextUpdatingFiles));
    m_link.After(kTimerProgressStarted, 10, [this] { EraseImage(); });
}

bool UploadChain::PrepareUpload(const Bytes& boardHead) {
    m_uploadText.clear();
    m_hashDiffered = false;
    const Bytes& image = m_package->image();
    if (image.empty()) {
        m_messenger.Show(kMsgNoQvkFile, MessageStyle::Warning);
        Finish(UploadOutcome::PackageRefused);
        return false;
    }
    if (!UploadTextFits(image.size())) {
        m_messenger.Show(
            kMsgImageTooLarge, MessageStyle::Warning,
            {std::to_string(image.size() / 1024), std::to_string(MaxUploadImageKib())});
        Finish(UploadOutcome::PackageRefused);
        return false;
    }
    // A head too short to hold a product ID is treated like no head: nothing to compare.
    if (boardHead.size() > kProductIdField &&
        boardHead[kProductIdField] != image[kProductIdField]) {
        m_messenger.ShowText(FillPlaceholders("%s\r\nProductID : %d\r\nQVK ID : %d",
                                              {m_messenger.Text(kTextProductIdError),
                                               std::to_string(boardHead[kProductIdField]),
                                               std::to_string(image[kProductIdField])}),
                             MessageStyle::Warning);
        Finish(UploadOutcome::ProductMismatch);
        return false;
    }
    m_imageBytes = image.size();
    m_imageHash = ImageHash(image);
    m_uploadText = EncodeBase64(image);
    return true;
}

void UploadChain::EraseImage() {
    m_stage = UploadStage::Erasing;
    Send(Command{
        .text = "erase kofs\r",
        .state = kStateEraseKofs,
        .timer = {kTimerReply10s, 10000},
        .onReply = [this](const ReplyLine& line) { return OnEraseLine(line); },
    });
}

Reply UploadChain::OnEraseLine(const ReplyLine& line) {
    if (!line.StartsWith("4")) {
        return Reply::Pending;
    }
    m_erased = true;
    m_link.channel().End();
    if (!SendImage()) {
        // A failure, so shown as one; the port may have vanished under the text.
        const bool lost = m_link.portGone();
        FailStep(kMsgSetValuesFailed, lost ? UploadOutcome::BoardLost : UploadOutcome::SendFailed,
                 lost ? std::string() : "recv kofs");
    }
    return Reply::Done;
}

bool UploadChain::SendImage() {
    CommandChannel& channel = m_link.channel();
    Platform& platform = m_link.platform();
    Progress& progress = m_link.progress();
    m_stage = UploadStage::Sending;
    progress.SetTotal(static_cast<long long>(m_uploadText.size()),
                      static_cast<long long>(m_imageBytes));
    progress.SetStep(ProgressStep::Sending);
    progress.SetCurrent(0);
    progress.SetText(m_messenger.Text(kTextUpdatingFiles), true);
    Send(Command{
        .text = "recv kofs\r",
        .state = kStateRecvKofs,
        .onReply = [this](const ReplyLine& line) { return OnSendLine(line); },
        .onTimeout = [this] { OnSendTimeout(); },
        .onPortLost =
            [this] {
                if (!m_sending) {  // while sending, the send loop reports the closed port
                    OnPortLost();
                }
            },
    });
    m_sending = true;
    const auto started = std::chrono::steady_clock::now();
    const std::size_t length = m_uploadText.size();
    std::size_t position = 0;
    std::size_t block = kBlockSize;
    while (position < length) {
        block = std::min(block, length - position);
        if (!m_link.portOpen() || !running()) {
            m_sending = false;
            return false;
        }
        progress.SetCurrent(static_cast<long long>(position + block));
        const std::string_view text = std::string_view(m_uploadText).substr(position, block);
        std::size_t written = channel.SendRaw(text);
        for (int attempt = 1; written == 0 && attempt < kWriteAttempts; ++attempt) {
            platform.Sleep(100);
            written = channel.SendRaw(text);
        }
        if (written == 0) {
            m_sending = false;
            return false;
        }
        // Repaints and replies are handled between blocks.
        platform.PumpEvents();
        position += written;
    }
    m_sending = false;
    if (!m_link.portOpen() || !running()) {
        return false;
    }
    channel.SendRaw("\r\r");
    m_sendSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    channel.ArmReplyTimer({kTimerReply3s, 3000});
    progress.SetStep(ProgressStep::Storing);
    return true;
}

Reply UploadChain::OnSendLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (line.StartsWith("412")) {
        BeginStoring();
    } else if (line.StartsWith("602")) {
        m_link.CancelTimer(kTimerStoringClock);
        AskForHash();
    }
    return Reply::Pending;
}

void UploadChain::BeginStoring() {
    // Stored: the board now writes its flash, which may take long; it is still bounded.
    m_stage = UploadStage::Storing;
    m_storingSeconds = 0;
    m_link.channel().ArmReplyTimer({kTimerStoring, kStoringLimitMs});
    m_link.progress().SetText(FillPlaceholders(m_messenger.Text(kTextStoringImage), {"0"}), true);
    m_link.Every(kTimerStoringClock, 1000, [this] {
        ++m_storingSeconds;
        m_link.progress().SetText(FillPlaceholders(m_messenger.Text(kTextStoringImage),
                                                   {std::to_string(m_storingSeconds)}),
                                  true);
        m_link.progress().SetStepSeconds(m_storingSeconds);
    });
}

void UploadChain::OnSendTimeout() {
    m_link.CancelTimer(kTimerStoringClock);
    if (m_stage == UploadStage::Storing) {
        EndUnconfirmed("recv kofs");
    } else {
        FailStep(kMsgSynchronizationFailed, UploadOutcome::TimedOut, "recv kofs");
    }
}

void UploadChain::AskForHash() {
    m_stage = UploadStage::Verifying;
    m_link.progress().SetStep(ProgressStep::Verifying);
    Send(Command{
        .text = "get id kofs hash\r",
        .state = kStateGetKofsHash,
        .timer = {kTimerBulk1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnHashLine(line); },
        .onTimeout = [this] { EndUnconfirmed("get id kofs hash"); },
    });
}

Reply UploadChain::OnHashLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (line.StartsWith("410 O")) {
        m_link.progress().Close();
        m_link.channel().End();
        RestartScript(m_hashDiffered ? UploadOutcome::HashMismatch : UploadOutcome::Verified);
        return Reply::Done;
    }
    if (line.StartsWith("501 ")) {
        m_link.progress().Close();
        Finish(UploadOutcome::Unverified, "get id kofs hash");
        return Reply::Done;
    }
    if (line.text != m_imageHash && !m_hashDiffered) {
        m_hashDiffered = true;
        m_messenger.Show(kMsgHashMismatch, MessageStyle::Warning, {line.text, m_imageHash});
    }
    return Reply::Pending;
}

void UploadChain::RestartScript(UploadOutcome outcome) {
    if (!m_link.portOpen()) {
        return Finish(outcome);
    }
    // Its answer is waited for (a second at most), so that it cannot mix into the replies of
    // whatever command comes next; the upload's outcome is already known.
    Send(Command{
        .text = "set state 0 run\r",
        .state = kStateSetState,
        .timer = {kTimerReply1s, 1000},
        .onReply =
            [this, outcome](const ReplyLine& line) {
                if (line.empty()) {
                    return Reply::Pending;
                }
                Finish(outcome);
                return Reply::Done;
            },
        .onTimeout = [this, outcome] { Finish(outcome); },
        .onPortLost = [this, outcome] { Finish(outcome); },
    });
}

void UploadChain::EndUnconfirmed(const std::string& command) {
    FailStep(kMsgImageUnconfirmed, UploadOutcome::Unverified, command);
}

void UploadChain::FailStep(int stringId, UploadOutcome outcome, const std::string& command) {
    m_link.progress().Close();
    m_messenger.Show(stringId, MessageStyle::Warning);
    Finish(outcome, command);
}

void UploadChain::OnTimedOut(const std::string& command) {
    // "erase kofs": the board did not say it erased its file system.
    FailStep(kMsgSynchronizationFailed, UploadOutcome::TimedOut, command);
}

void UploadChain::OnPortLost() {
    m_link.progress().Close();
    Finish(UploadOutcome::BoardLost);
}

void UploadChain::Finish(UploadOutcome outcome, std::string command) {
    m_link.CancelTimer(kTimerStoringClock);
    Done done = std::exchange(m_done, nullptr);
    if (!done) {
        return;
    }
    m_stage = UploadStage::Ended;
    UploadResult result{{outcome, std::move(command)}, {}, m_erased};
    // The firmware of a combined package follows whatever became of its image, once the
    // upload got as far as its progress dialog.
    if (outcome == UploadOutcome::FirmwareOnly) {
        if (VerifyFirmwareImage(m_package->packagePath(), m_messenger)) {
            result.firmware = m_package->packagePath();
        }
    } else if (m_kind == PackageKind::ImageAndFirmware &&
               (m_progressShown || outcome == UploadOutcome::Unchanged)) {
        // An unchanged image says nothing of the firmware: it is written all the same.
        if (VerifyFirmwareImage(m_package->extractedFirmwarePath(), m_messenger)) {
            result.firmware = m_package->extractedFirmwarePath();
        }
    }
    done(result);
}

}  // namespace varnow
