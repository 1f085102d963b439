#include "package/VerifyFirmwareImage.h"

#include "package/PackageChecks.h"
#include "package/PackageFile.h"
#include "package/PackageFormat.h"
#include "package/PackageMessages.h"

namespace varnow {

bool VerifyFirmwareImage(const std::filesystem::path& path, Messenger& messenger) {
    const FileRead file = ReadFileBytes(path, kMaxPackageFileBytes);
    if (file.status == FileReadStatus::CannotOpen) {
        messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return false;
    }
    if (file.status == FileReadStatus::TooLarge || !FirmwareImageIsSound(file.bytes)) {
        messenger.ShowText(kFirmwareFileIsIncorrect, MessageStyle::Warning);
        return false;
    }
    return true;
}

}  // namespace varnow
