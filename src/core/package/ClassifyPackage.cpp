#include "package/ClassifyPackage.h"

#include "package/PackageFile.h"
#include "package/PackageMessages.h"

namespace varnow {

PackageKind ClassifyPackage(const std::filesystem::path& path, Messenger& messenger) {
    const FileRead file = ReadFileStart(path, kHeadFixedSize);
    if (file.status != FileReadStatus::Ok) {
        messenger.ShowText(kFileCouldNotBeOpened, MessageStyle::Warning);
        return PackageKind::Unreadable;
    }
    // A file too short for the fixed head is no package of any kind.
    if (file.bytes.size() >= kHeadFixedSize) {
        const std::uint32_t word = ReadLe32(file.bytes, 0);
        if (word == kKofsMagic) {
            const std::uintmax_t imageLength =
                1024u * std::uintmax_t{ReadLe16(file.bytes, kHeadSizeField)};
            return imageLength >= file.fileSize ? PackageKind::Image
                                                : PackageKind::ImageAndFirmware;
        }
        if (word == kFirmwareMagicF1 || word == kFirmwareMagicF4) {
            return PackageKind::Firmware;
        }
    }
    messenger.ShowText(kFileIsIncorrect, MessageStyle::Warning);
    return PackageKind::Incorrect;
}

}  // namespace varnow
