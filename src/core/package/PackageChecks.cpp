#include "package/PackageChecks.h"

#include "crypto/Crc16.h"
#include "package/PackageMessages.h"

namespace varnow {
namespace {

// Checks a "kFoS" magic and the CRC over its first six bytes; returns what is wrong.
const char* CheckSealedMagic(ByteView frame, std::size_t crcField, const char* badMagic,
                             const char* badCrc) {
    if (ReadLe32(frame, 0) != kKofsMagic) {
        return badMagic;
    }
    if (Crc16(frame.first(kCrcCoveredBytes)) != ReadLe16(frame, crcField)) {
        return badCrc;
    }
    return nullptr;
}

}  // namespace

PackageKind ClassifyPackageStart(ByteView start, std::uintmax_t fileLength) {
    // A file too short for the fixed head is no package of any kind.
    if (start.size() < kHeadFixedSize) {
        return PackageKind::Incorrect;
    }
    const std::uint32_t word = ReadLe32(start, 0);
    if (word == kKofsMagic) {
        const std::uintmax_t imageLength = 1024u * std::uintmax_t{ReadLe16(start, kHeadSizeField)};
        return imageLength >= fileLength ? PackageKind::Image : PackageKind::ImageAndFirmware;
    }
    if (word == kFirmwareMagicF1 || word == kFirmwareMagicF4) {
        return PackageKind::Firmware;
    }
    return PackageKind::Incorrect;
}

ImageFrameCheck CheckImageFrame(ByteView package) {
    if (package.size() < kHeadFixedSize) {
        return {kFileIsIncorrect};
    }
    if (const char* error =
            CheckSealedMagic(package, kHeadCrcField, kHeadSignatureError, kHeadCrcError)) {
        return {error};
    }
    // The image must lie wholly inside the file before its tail can be read.
    const std::size_t imageLength = 1024u * std::size_t{ReadLe16(package, kHeadSizeField)};
    if (imageLength < kHeadFixedSize || imageLength > package.size()) {
        return {kFileIsIncorrect};
    }
    const ByteView tail = package.subspan(imageLength - kTailSize, kTailSize);
    if (const char* error =
            CheckSealedMagic(tail, kTailCrcField, kTailSignatureError, kTailCrcError)) {
        return {error};
    }
    return {nullptr, imageLength};
}

bool FirmwareImageIsSound(ByteView firmware) {
    // A file without a whole header has no CRC to check against.
    return firmware.size() >= kFirmwareHeaderSize &&
           Crc16(firmware.subspan(kFirmwareHeaderSize)) == ReadLe16(firmware, kFirmwareCrcField);
}

}  // namespace varnow
