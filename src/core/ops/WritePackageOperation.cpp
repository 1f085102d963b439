#include "ops/WritePackageOperation.h"

#include "package/ClassifyPackage.h"
#include "package/LoadPackage.h"
#include "package/VerifyFirmwareImage.h"

namespace varnow {

WritePackageOperation::WritePackageOperation(BoardContext& board, LoadedPackage& package,
                                             UploadOptions options, PackagePart part)
    : Operation(board),
      m_package(package),
      m_options(options),
      m_part(part),
      m_upload(board.link(), messenger()),
      m_isp(board.link(), messenger()),
      m_firmware(board.link(), messenger(), board.firmwareWindow(), m_isp, [this](auto returned) {
          this->board().AwaitReturn(nullptr, std::move(returned));
      }) {}

bool WritePackageOperation::succeeded() const {
    switch (m_result.upload.code) {
        case UploadOutcome::Verified:
        case UploadOutcome::FirmwareOnly:
        case UploadOutcome::Unchanged:
        case UploadOutcome::DryRun:
            return !m_result.firmware || m_result.firmware->code == FirmwareOutcome::Upgraded;
        default:
            return false;
    }
}

void WritePackageOperation::Begin() {
    if (m_part == PackagePart::FirmwareOnly) {
        const std::filesystem::path firmware = FirmwareOfPackage();
        m_result.upload = UploadResult{};
        m_result.upload.code = UploadOutcome::FirmwareOnly;
        m_result.upload.firmware = firmware;
        if (firmware.empty()) {
            m_result.upload.code = UploadOutcome::PackageRefused;
            return End();
        }
        if (m_options.dryRun) {
            // The boot loader is reached by a restart: the first write. Nothing goes further.
            m_result.upload.code = UploadOutcome::DryRun;
            return End();
        }
        return WriteFirmware(firmware);
    }
    m_upload.Start(m_package, m_options, board().extractionFolder(),
                   [this](const UploadResult& upload) { OnUploaded(upload); });
}

std::filesystem::path WritePackageOperation::FirmwareOfPackage() {
    const PackageKind kind = ClassifyPackage(m_package.packagePath(), messenger());
    if (kind == PackageKind::Firmware &&
        VerifyFirmwareImage(m_package.packagePath(), messenger())) {
        return m_package.packagePath();
    }
    if (kind == PackageKind::ImageAndFirmware &&
        LoadPackage(m_package, board().extractionFolder(), messenger()) &&
        VerifyFirmwareImage(m_package.extractedFirmwarePath(), messenger())) {
        return m_package.extractedFirmwarePath();
    }
    return {};
}

void WritePackageOperation::OnUploaded(const UploadResult& upload) {
    m_result.upload = upload;
    m_result.imageName = m_upload.imageName();
    m_result.imageHash = m_upload.imageHash();
    m_result.imageBytes = m_upload.imageBytes();
    m_result.textLength = m_upload.uploadTextLength();
    m_result.sendSeconds = m_upload.sendSeconds();
    // The firmware follows whatever became of the image, but only to a board that is there;
    // a board gone before it has not had its firmware written.
    if (upload.firmware.empty()) {
        return End();
    }
    if (!link().portOpen()) {
        m_result.firmware = FirmwareResult{{FirmwareOutcome::NoBoard}, {}};
        return End();
    }
    WriteFirmware(upload.firmware);
}

void WritePackageOperation::WriteFirmware(const std::filesystem::path& firmware) {
    m_inFirmware = true;
    m_firmware.Start(firmware, [this](const FirmwareResult& result) {
        m_result.firmware = result;
        End();
    });
}

}  // namespace varnow
