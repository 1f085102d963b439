#pragma once

#include <optional>
#include <string>

#include "firmware/FirmwareOutcome.h"
#include "firmware/FirmwareUpgrade.h"
#include "firmware/IspTransfer.h"
#include "ops/Operation.h"
#include "package/LoadedPackage.h"
#include "upload/UploadChain.h"

namespace varnow {

// What writing a package did: the image (or nothing to upload), then the firmware if the
// package carries one, with the image's figures.
struct WriteResult {
    UploadResult upload;
    std::optional<FirmwareResult> firmware;
    std::string imageName;  // its name record, else the package's file name
    std::string imageHash;  // SHA-1, as the board tells it
    std::size_t imageBytes = 0;
    std::size_t textLength = 0;  // the image's Base64 text, as it went to the board
    double sendSeconds = 0;      // the image text's write, on the wall clock
};

// Which parts of the package are written.
enum class PackagePart { All, FirmwareOnly };

// Write a package into the board: its KOFS image (verified by the board's SHA-1), then its
// firmware through the boot loader with the restarts, the board connected again at the end.
// With PackagePart::FirmwareOnly only the firmware (of a firmware or a combined package).
class WritePackageOperation : public Operation {
public:
    WritePackageOperation(BoardContext& board, LoadedPackage& package, UploadOptions options,
                          PackagePart part = PackagePart::All);

    const WriteResult& result() const { return m_result; }
    bool succeeded() const override;
    // Where it is, for what an interruption leaves on the board.
    bool imageTouched() const { return m_upload.erased(); }
    bool inFirmware() const { return m_inFirmware; }
    bool bootLoaderReached() const { return m_inFirmware && m_firmware.bootLoaderReached(); }
    // The firmware upgrade window's close box.
    bool CloseFirmwareWindow() { return m_firmware.CloseWindow(); }
    const FirmwareUpgrade& firmware() const { return m_firmware; }

private:
    void Begin() override;
    void OnUploaded(const UploadResult& upload);
    void WriteFirmware(const std::filesystem::path& firmware);
    // The firmware of a firmware-only write: the package's own, or split off a combined one.
    std::filesystem::path FirmwareOfPackage();

    LoadedPackage& m_package;
    UploadOptions m_options;
    PackagePart m_part;
    UploadChain m_upload;
    IspTransfer m_isp;
    FirmwareUpgrade m_firmware;
    WriteResult m_result;
    bool m_inFirmware = false;
};

}  // namespace varnow
