#include "package/LoadPackage.h"

#include <system_error>

#include "package/PackageChecks.h"
#include "package/PackageFile.h"
#include "package/PackageFormat.h"
#include "package/PackageMessages.h"

namespace varnow {
namespace {

bool Fail(Messenger& messenger, const char* text) {
    messenger.ShowText(text, MessageStyle::Warning);
    return false;
}

bool ExtractFirmware(LoadedPackage& package, ByteView firmware,
                     const std::filesystem::path& appDataFolder) {
    const std::filesystem::path folder = appDataFolder / kExtractFolderName;
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    const std::filesystem::path path = folder / kExtractedFirmwareName;
    if (!WriteFileBytes(path, firmware)) {
        return false;
    }
    package.SetExtractedFirmwarePath(path);
    return true;
}

}  // namespace

bool LoadPackage(LoadedPackage& package, const std::filesystem::path& appDataFolder,
                 Messenger& messenger) {
    const FileRead file = ReadFileBytes(package.packagePath(), kMaxPackageFileBytes);
    if (file.status == FileReadStatus::CannotOpen) {
        return Fail(messenger, kFileCouldNotBeOpened);
    }
    if (file.status == FileReadStatus::TooLarge) {
        return Fail(messenger, kFileIsIncorrect);
    }
    const ByteView bytes = file.bytes;
    const ImageFrameCheck frame = CheckImageFrame(bytes);
    if (frame.error != nullptr) {
        return Fail(messenger, frame.error);
    }
    const auto imageEnd = bytes.begin() + static_cast<std::ptrdiff_t>(frame.imageLength);
    package.SetImage(Bytes(bytes.begin(), imageEnd));
    if (frame.imageLength < bytes.size() &&
        !ExtractFirmware(package, bytes.subspan(frame.imageLength), appDataFolder)) {
        return Fail(messenger, kFileCouldNotBeOpened);
    }
    return true;
}

}  // namespace varnow
