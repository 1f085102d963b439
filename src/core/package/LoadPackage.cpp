#include "package/LoadPackage.h"

#include <system_error>

#include "common/Crc16.h"
#include "package/PackageFile.h"
#include "package/PackageFormat.h"
#include "package/PackageMessages.h"

namespace varnow {
namespace {

bool Fail(Messenger& messenger, const char* text) {
    messenger.ShowText(text, MessageStyle::Warning);
    return false;
}

// Checks a magic and the CRC over its first six bytes; returns the text of what is wrong.
const char* CheckFrame(ByteView frame, std::size_t crcField, const char* badMagic,
                       const char* badCrc) {
    if (ReadLe32(frame, 0) != kKofsMagic) {
        return badMagic;
    }
    if (Crc16(frame.first(kCrcCoveredBytes)) != ReadLe16(frame, crcField)) {
        return badCrc;
    }
    return nullptr;
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
    if (file.status == FileReadStatus::TooLarge || file.bytes.size() < kHeadFixedSize) {
        return Fail(messenger, kFileIsIncorrect);
    }
    const ByteView bytes = file.bytes;
    if (const char* error = CheckFrame(bytes, kHeadCrcField, kHeadSignatureError, kHeadCrcError)) {
        return Fail(messenger, error);
    }
    // The image must lie wholly inside the file before its tail can be read.
    const std::size_t imageLength = 1024u * std::size_t{ReadLe16(bytes, kHeadSizeField)};
    if (imageLength < kHeadFixedSize || imageLength > bytes.size()) {
        return Fail(messenger, kFileIsIncorrect);
    }
    const ByteView tail = bytes.subspan(imageLength - kTailSize, kTailSize);
    if (const char* error = CheckFrame(tail, kTailCrcField, kTailSignatureError, kTailCrcError)) {
        return Fail(messenger, error);
    }
    package.SetImage(Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(imageLength)));
    if (imageLength < bytes.size() &&
        !ExtractFirmware(package, bytes.subspan(imageLength), appDataFolder)) {
        return Fail(messenger, kFileCouldNotBeOpened);
    }
    return true;
}

}  // namespace varnow
