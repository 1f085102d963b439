#include "upload/UploadChain.h"

#include <chrono>

#include "base64/Base64Decoder.h"
#include "link/ChannelBuffers.h"
#include "link/CommandStates.h"
#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/RecordNames.h"
#include "package/VerifyFirmwareImage.h"
#include "session/Writer.h"
#include "ui/MessageIds.h"
#include "base64/Base64Encoder.h"
#include "upload/UploadText.h"

namespace varnow {
namespace {

constexpr std::size_t kBlockSize = 4096;
constexpr int kWriteAttempts = 10;

}  // namespace

const char* UploadOutcomeName(UploadOutcome outcome) {
    switch (outcome) {
        case UploadOutcome::None:
            return "none";
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
        case UploadOutcome::SendFailed:
            return "send-failed";
        case UploadOutcome::FirmwareOnly:
            return "firmware-only";
    }
    return "unknown";
}

UploadChain::UploadChain(Writer& writer) : m_writer(writer) {
    CommandChannel& channel = writer.channel();
    channel.OnFramed(kStateSendKofsHead, [this](const ReplyLine& l) { OnHeadLine(l); });
    channel.OnFramed(kStateEraseKofs, [this](const ReplyLine& l) { OnEraseLine(l); });
    channel.OnFramed(kStateRecvKofs, [this](const ReplyLine& l) { OnSendLine(l); });
    channel.OnFramed(kStateGetKofsHash, [this](const ReplyLine& l) { OnHashLine(l); });
    channel.OnFramed(kStateSendTail, [this](const ReplyLine& l) { OnTailLine(l); });
}

void UploadChain::Finish(UploadOutcome outcome) {
    m_outcome = outcome;
}

void UploadChain::StartUpload(LoadedPackage& package) {
    m_outcome = UploadOutcome::None;
    Messenger& messenger = m_writer.messenger();
    if (!m_writer.platform().Port().IsOpen()) {
        messenger.Show(kMsgOpenComPort, MessageStyle::Warning);
        return Finish(UploadOutcome::NoBoard);
    }
    if (package.packagePath().empty()) {
        messenger.Show(kMsgNoQvkFile, MessageStyle::Warning);
        return Finish(UploadOutcome::PackageRefused);
    }
    m_package = &package;
    productInformation = false;
    m_kind = ClassifyPackage(package.packagePath(), messenger);
    switch (m_kind) {
        case PackageKind::Image:
        case PackageKind::ImageAndFirmware:
            if (m_writer.session().isp) {
                messenger.Show(kMsgIspModeRefusal, MessageStyle::Warning);
                return Finish(UploadOutcome::IspMode);
            }
            ReadImageHead();
            break;
        case PackageKind::Firmware:
            Finish(UploadOutcome::FirmwareOnly);
            if (VerifyFirmwareImage(package.packagePath(), messenger)) {
                m_writer.RunFirmwareUpgrade(package.packagePath());
            }
            break;
        default:
            Finish(UploadOutcome::PackageRefused);
            break;
    }
}

void UploadChain::ReadImageHead() {
    CommandChannel& channel = m_writer.channel();
    channel.ClearBulk();
    channel.SendCommand("send kofs head\r", kStateSendKofsHead, kTimerBulk1s, 1000);
}

void UploadChain::OnHeadLine(const ReplyLine& line) {
    Platform& platform = m_writer.platform();
    CommandChannel& channel = m_writer.channel();
    platform.CancelTimer(kTimerBulk1s);
    if (!line.StartsWith("411 ")) {
        // Every other line, error replies included, is taken as head data.
        platform.ArmTimer(kTimerBulk1s, 1000);
        channel.AppendBulk(line.text);
        return;
    }
    channel.SetState(kStateIdle);
    m_boardHead = channel.bulk().empty() ? Bytes{} : DecodeBase64(channel.bulk());
    if (productInformation) {
        platform.ArmTimer(kTimerOpenProductInfo, 10);
        return;
    }
    if (m_package == nullptr) {
        return;
    }
    if (!LoadPackage(*m_package, platform.AppDataFolder(), m_writer.messenger())) {
        return Finish(UploadOutcome::PackageRefused);
    }
    if (!PrepareUpload()) {
        return;
    }
    m_writer.RunProgress(ProgressMode::Upload, [this] { EraseImage(); });
    if (m_kind == PackageKind::ImageAndFirmware) {
        // The firmware follows whatever became of the upload.
        const std::filesystem::path firmware = m_package->extractedFirmwarePath();
        if (VerifyFirmwareImage(firmware, m_writer.messenger())) {
            m_writer.RunFirmwareUpgrade(firmware);
        }
    }
    channel.ClearLine();
}

bool UploadChain::PrepareUpload() {
    m_uploadText.clear();
    m_hashDiffered = false;
    Messenger& messenger = m_writer.messenger();
    const Bytes& image = m_package->image();
    if (image.empty()) {
        messenger.Show(kMsgNoQvkFile, MessageStyle::Warning);
        Finish(UploadOutcome::PackageRefused);
        return false;
    }
    if (!UploadTextFits(image.size())) {
        messenger.Show(kMsgImageTooLarge, MessageStyle::Warning,
                       {std::to_string(image.size() / 1024), std::to_string(MaxUploadImageKib())});
        Finish(UploadOutcome::PackageRefused);
        return false;
    }
    // A head too short to hold a product ID is treated like no head: nothing to compare.
    constexpr std::size_t kProductId = 11;
    if (m_boardHead.size() > kProductId && m_boardHead[kProductId] != image[kProductId]) {
        messenger.ShowText(FillPlaceholders("%s\r\nProductID : %d\r\nQVK ID : %d",
                                            {messenger.Text(kTextProductIdError),
                                             std::to_string(m_boardHead[kProductId]),
                                             std::to_string(image[kProductId])}),
                           MessageStyle::Warning);
        Finish(UploadOutcome::ProductMismatch);
        return false;
    }
    m_imageHash = ImageHash(image);
    m_uploadText = EncodeBase64(image);
    return true;
}

void UploadChain::EraseImage() {
    m_writer.channel().SendCommand("erase kofs\r", kStateEraseKofs, kTimerReply10s, 10000);
}

void UploadChain::OnEraseLine(const ReplyLine& line) {
    if (!line.StartsWith("4")) {
        return;
    }
    CommandChannel& channel = m_writer.channel();
    channel.SetState(kStateIdle);
    m_writer.platform().CancelTimer(kTimerReply10s);
    if (!SendImage()) {
        channel.SetState(kStateIdle);
        m_writer.CloseProgressIfShown();
        m_writer.messenger().Show(kMsgSetValuesFailed, MessageStyle::Information);
        Finish(UploadOutcome::SendFailed);
    }
}

bool UploadChain::SendImage() {
    CommandChannel& channel = m_writer.channel();
    Platform& platform = m_writer.platform();
    Host& host = m_writer.host();
    channel.SetState(kStateRecvKofs);
    const std::size_t length = m_uploadText.size();
    if (m_writer.progressShown()) {
        host.SetProgressTotal(static_cast<int>(length));
        host.SetProgressCurrent(0);
        host.SetProgressText(m_writer.messenger().Text(kTextUpdatingFiles), true);
    }
    channel.SendRaw("recv kofs\r");
    const auto started = std::chrono::steady_clock::now();
    std::size_t position = 0;
    std::size_t block = kBlockSize;
    while (position < length) {
        block = std::min(block, length - position);
        if (!platform.Port().IsOpen()) {
            return false;
        }
        if (m_writer.progressShown()) {
            host.SetProgressCurrent(static_cast<int>(position + block));
        }
        const std::string_view text = std::string_view(m_uploadText).substr(position, block);
        std::size_t written = channel.SendRaw(text);
        for (int attempt = 1; written == 0 && attempt < kWriteAttempts; ++attempt) {
            platform.Sleep(100);
            written = channel.SendRaw(text);
        }
        if (written == 0) {
            return false;
        }
        // Repaints and replies are handled between blocks.
        platform.PumpEvents();
        position += written;
    }
    channel.SendRaw("\r\r");
    m_sendSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    platform.ArmTimer(kTimerReply3s, 3000);
    return true;
}

void UploadChain::OnSendLine(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    if (line.StartsWith("412")) {
        m_writer.platform().CancelTimer(kTimerReply3s);  // stored: no time-out until "602"
    } else if (line.StartsWith("602")) {
        m_writer.channel().SetState(kStateIdle);
        m_writer.channel().SendCommand("get id kofs hash\r", kStateGetKofsHash, kTimerBulk1s, 1000);
    }
}

void UploadChain::OnHashLine(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    CommandChannel& channel = m_writer.channel();
    if (line.StartsWith("410 O")) {
        channel.SetState(kStateIdle);
        m_writer.platform().CancelTimer(kTimerBulk1s);
        m_writer.CloseProgressIfShown();
        if (m_writer.platform().Port().IsOpen()) {
            channel.SendRaw("set state 0 run\r");
        }
        Finish(m_hashDiffered ? UploadOutcome::HashMismatch : UploadOutcome::Verified);
    } else if (line.StartsWith("501 ")) {
        channel.SetState(kStateIdle);
        m_writer.platform().CancelTimer(kTimerBulk1s);
        m_writer.CloseProgressIfShown();
        Finish(UploadOutcome::Unverified);
    } else if (line.text != m_imageHash) {
        m_hashDiffered = true;
        m_writer.messenger().Show(kMsgHashMismatch, MessageStyle::Warning,
                                  {line.text, m_imageHash});
    }
}

void UploadChain::ReadTailBlock() {
    if (!m_writer.platform().Port().IsOpen()) {
        m_writer.messenger().Show(kMsgOpenComPort, MessageStyle::Warning);
        return;
    }
    m_tailText.clear();
    m_writer.channel().SendCommand("send tail\r", kStateSendTail, kTimerReply1s, 1000);
}

void UploadChain::OnTailLine(const ReplyLine& line) {
    if (line.empty()) {
        return;
    }
    if (!line.StartsWith("411 ")) {
        if (m_tailText.size() + line.text.size() <= kTailBufferSize) {
            m_tailText += line.text;
        }
        return;
    }
    m_writer.platform().CancelTimer(kTimerReply1s);
    m_writer.channel().SetState(kStateIdle);
    Bytes block = DecodeBase64(AsBytes(m_tailText));
    if (block.size() > kTailBufferSize) {
        block.resize(kTailBufferSize);
    }
    const FirmwareNameResult name = FirmwareName(block);
    m_firmwareName = name.name;
}

void UploadChain::OnTimedOut(int state) {
    if (state == kStateSendKofsHead || state == kStateEraseKofs || state == kStateRecvKofs ||
        state == kStateGetKofsHash) {
        Finish(UploadOutcome::TimedOut);
    }
}

}  // namespace varnow
