#include "firmware/FirmwareUpgrade.h"

#include "firmware/IspTransfer.h"
#include "package/PackageChecks.h"
#include "package/PackageFile.h"
#include "package/PackageFormat.h"
#include "package/PackageMessages.h"
#include "session/Writer.h"
#include "ui/MessageIds.h"

namespace varnow {
const char* FirmwareOutcomeName(FirmwareOutcome outcome) {
    switch (outcome) {
        case FirmwareOutcome::None:
            return "none";
        case FirmwareOutcome::Transmitted:
            return "transmitted";
        case FirmwareOutcome::Failed:
            return "failed";
        case FirmwareOutcome::FileRefused:
            return "file-refused";
    }
    return "unknown";
}

FirmwareUpgrade::FirmwareUpgrade(Writer& writer, std::filesystem::path path)
    : m_writer(writer), m_path(std::move(path)) {}

void FirmwareUpgrade::Changed() {
    m_writer.host().FirmwareWindowChanged();
}

void FirmwareUpgrade::Start() {
    m_status = m_writer.messenger().Text(kTextStandby);
    m_standby = true;
    m_writer.platform().ArmTimer(kCheckTimer, 10);
    m_writer.platform().ArmTimer(kStandbyTimer, 100);
}

void FirmwareUpgrade::OnTimer(int id) {
    if (id == kCheckTimer) {
        m_writer.platform().CancelTimer(kCheckTimer);
        CheckFile();
    } else if (id == kStandbyTimer) {
        ++m_ticks;
        m_status = m_writer.messenger().Text(kTextStandby) + std::string(m_ticks % 50, '.');
        Changed();
    }
}

void FirmwareUpgrade::CheckFile() {
    Messenger& messenger = m_writer.messenger();
    const FileRead file = ReadFileBytes(m_path, kMaxPackageFileBytes);
    if (file.status == FileReadStatus::CannotOpen) {
        m_outcome = FirmwareOutcome::FileRefused;
        messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return;
    }
    m_total = static_cast<long long>(file.fileSize);
    if (file.status != FileReadStatus::Ok || !FirmwareImageIsSound(file.bytes)) {
        m_outcome = FirmwareOutcome::FileRefused;
        messenger.ShowText(kFirmwareFileIsIncorrect, MessageStyle::Warning);
        return;
    }
    m_sent = 0;
    m_status = messenger.Text(kTextStandby);
    Changed();
    IspTransfer& isp = m_writer.isp();
    if (isp.Prepare(*this)) {
        m_enabled = false;
        Changed();
        isp.SendTestBlock(m_path);
    }
}

void FirmwareUpgrade::OnBootLoaderReady() {
    m_enabled = false;
    Changed();
    m_writer.isp().SendTestBlock(m_path);
}

void FirmwareUpgrade::OnTestAccepted() {
    m_writer.isp().Program(m_path);
}

void FirmwareUpgrade::OnProgress(long long sent) {
    m_sent = sent;
    if (m_standby) {
        m_writer.platform().CancelTimer(kStandbyTimer);
        m_standby = false;
    }
    m_status = std::to_string(m_total > 0 ? sent * 100 / m_total : 0) + "%";
    Changed();
}

void FirmwareUpgrade::OnEnded(bool success) {
    m_enabled = true;
    if (success) {
        m_sent = m_total;
        m_finished = true;
        m_outcome = FirmwareOutcome::Transmitted;
        m_status = m_writer.messenger().Text(kMsgFirmwareTransmitted);
        Changed();
    } else {
        m_outcome = FirmwareOutcome::Failed;
        Changed();
        m_writer.messenger().Show(kMsgFirmwareChangeFailed, MessageStyle::Warning);
    }
}

}  // namespace varnow
