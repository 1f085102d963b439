#include "package/VerifyFirmwareImage.h"

#include "common/Crc16.h"
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
    // A file without a whole header has no CRC to check against.
    const ByteView bytes = file.bytes;
    if (file.status == FileReadStatus::TooLarge || bytes.size() < kFirmwareHeaderSize ||
        Crc16(bytes.subspan(kFirmwareHeaderSize)) != ReadLe16(bytes, kFirmwareCrcField)) {
        messenger.ShowText(kFirmwareFileIsIncorrect, MessageStyle::Warning);
        return false;
    }
    return true;
}

}  // namespace varnow
