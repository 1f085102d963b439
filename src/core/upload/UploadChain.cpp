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

std::filesystem::path UploadChain::extractionFolder() const {
    return m_extractionFolder.empty() ? m_link.platform().AppDataFolder() : m_extractionFolder;
}

UploadChain::UploadChain(BoardLink& link, Messenger& messenger)
    : m_link(link), m_messenger(messenger), m_headRead(link) {}

void UploadChain::Start(LoadedPackage& package, UploadOptions options, Done done) {
    m_done = std::move(done);
    m_options = options;
    m_package = &package;
    m_progressShown = false;
    m_erased = false;
    if (!m_link.portOpen()) {
        m_messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(UploadOutcome::NoBoard);
    }
    if (package.packagePath().empty()) {
        m_messenger.Show(kMsgNoQvkFile, MessageStyle::Warning);
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
    if (!LoadPackage(*m_package, extractionFolder(), m_messenger)) {
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
    m_link.channel().Send(Command{
        .text = "get id kofs hash\r",
        .state = kStateGetKofsHash,
        .timer = {kTimerBulk1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnHeldHashLine(line); },
        .onTimeout =
            [this] {
                m_link.channel().End();
                Finish(UploadOutcome::Stalled, "get id kofs hash");
            },
        .onPortLost = [this] { Finish(UploadOutcome::BoardLost); },
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
    m_link.channel().End();
    // A board that cannot tell what it holds is written, as without the option.
    if (ok && !m_heldHash.empty() && m_heldHash == m_imageHash) {
        Finish(UploadOutcome::Unchanged);
    } else {
        ShowProgressAndErase();
    }
    return Reply::Done;
}

void UploadChain::ShowProgressAndErase() {
    m_progressShown = true;
    m_link.progress().Show(ProgressMode::Upload, m_messenger.Text(kTextUpdatingFiles));
    m_link.platform().ArmTimer(kTimerProgressStarted, 10, [this] {
        m_link.platform().CancelTimer(kTimerProgressStarted);
        EraseImage();
    });
}

bool UploadChain::PrepareUpload(const Bytes& boardHead) {
    m_uploadText.clear();
    m_hashDiffered = false;
    m_stored = false;
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
    m_link.channel().Send(Command{
        .text = "erase kofs\r",
        .state = kStateEraseKofs,
        .timer = {kTimerReply10s, 10000},
        .onReply = [this](const ReplyLine& line) { return OnEraseLine(line); },
        .onTimeout =
            [this] {
                FailStep(kMsgSynchronizationFailed, MessageStyle::Warning, UploadOutcome::TimedOut,
                         "erase kofs");
            },
        .onPortLost = [this] { Finish(UploadOutcome::BoardLost); },
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
        const bool lost = !m_link.portOpen();
        FailStep(kMsgSetValuesFailed, MessageStyle::Warning,
                 lost ? UploadOutcome::BoardLost : UploadOutcome::SendFailed, "");
    }
    return Reply::Pending;
}

bool UploadChain::SendImage() {
    CommandChannel& channel = m_link.channel();
    Platform& platform = m_link.platform();
    Progress& progress = m_link.progress();
    progress.SetTotal(static_cast<long long>(m_uploadText.size()),
                      static_cast<long long>(m_imageBytes));
    progress.SetStep(ProgressStep::Sending);
    progress.SetCurrent(0);
    progress.SetText(m_messenger.Text(kTextUpdatingFiles), true);
    channel.Send(Command{
        .text = "recv kofs\r",
        .state = kStateRecvKofs,
        .onReply = [this](const ReplyLine& line) { return OnSendLine(line); },
        .onTimeout = [this] { OnSendTimeout(); },
        .onPortLost =
            [this] {
                if (!m_sending) {  // while sending, the send loop reports the closed port
                    Finish(UploadOutcome::BoardLost);
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
        if (!m_link.portOpen()) {
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
        // Stored: the board now writes its flash, which may take long; it is still bounded.
        m_stored = true;
        m_link.channel().ArmReplyTimer({kTimerStoring, 120000});
    } else if (line.StartsWith("602")) {
        AskForHash();
    }
    return Reply::Pending;
}

void UploadChain::OnSendTimeout() {
    if (m_stored) {
        EndUnconfirmed("recv kofs");
    } else {
        FailStep(kMsgSynchronizationFailed, MessageStyle::Warning, UploadOutcome::TimedOut,
                 "recv kofs");
    }
}

void UploadChain::AskForHash() {
    m_link.progress().SetStep(ProgressStep::Verifying);
    m_link.channel().Send(Command{
        .text = "get id kofs hash\r",
        .state = kStateGetKofsHash,
        .timer = {kTimerBulk1s, 1000},
        .onReply = [this](const ReplyLine& line) { return OnHashLine(line); },
        .onTimeout = [this] { EndUnconfirmed("get id kofs hash"); },
        .onPortLost = [this] { Finish(UploadOutcome::BoardLost); },
    });
}

Reply UploadChain::OnHashLine(const ReplyLine& line) {
    if (line.empty()) {
        return Reply::Pending;
    }
    if (line.StartsWith("410 O")) {
        m_link.channel().End();
        m_link.progress().Close();
        RestartScript(m_hashDiffered ? UploadOutcome::HashMismatch : UploadOutcome::Verified);
        return Reply::Done;
    }
    if (line.StartsWith("501 ")) {
        m_link.channel().End();
        m_link.progress().Close();
        Finish(UploadOutcome::Unverified);
        return Reply::Done;
    }
    if (line.text != m_imageHash) {
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
    m_link.channel().Send(Command{
        .text = "set state 0 run\r",
        .state = kStateSetState,
        .timer = {kTimerReply1s, 1000},
        .onReply =
            [this, outcome](const ReplyLine& line) {
                if (line.empty()) {
                    return Reply::Pending;
                }
                m_link.channel().End();
                Finish(outcome);
                return Reply::Done;
            },
        .onTimeout =
            [this, outcome] {
                m_link.channel().End();
                Finish(outcome);
            },
        .onPortLost = [this, outcome] { Finish(outcome); },
    });
}

void UploadChain::EndUnconfirmed(const char* command) {
    FailStep(kMsgImageUnconfirmed, MessageStyle::Warning, UploadOutcome::Unverified, command);
}

void UploadChain::FailStep(int stringId, MessageStyle style, UploadOutcome outcome,
                           const char* command) {
    m_link.channel().End();
    m_link.progress().Close();
    m_messenger.Show(stringId, style);
    Finish(outcome, command);
}

void UploadChain::Finish(UploadOutcome outcome, std::string command) {
    Done done = std::exchange(m_done, nullptr);
    if (!done) {
        return;
    }
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
